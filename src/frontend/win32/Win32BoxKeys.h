#pragma once

#include "frontend/win32/Win32Focus.h"

#include <windows.h>

namespace kelvrast {

// A text box of the form: Tab moves the focus through focus's tab order, Ctrl+A selects the whole text, and Escape
// does nothing. focus must outlive the box.
void keepKeysToTheForm(HWND box, Win32Focus& focus);

} // namespace kelvrast
