#pragma once

#include "form/Form.h"

#include <windows.h>

namespace kelvrast {

// The window's dots per inch, and the form's twips at them.

// The DPI the system gives new windows; USER_DEFAULT_SCREEN_DPI when it cannot tell.
UINT systemDpi();
// The DPI of the monitor the window is on, or the system's before Windows 10 1607.
UINT dpiOf(HWND window);

int scaled(int twips, UINT dpi);
RECT placeAt(const form::TwipsRect& place, UINT dpi);

// The outer size of the window, as it is styled, whose client area holds the form at dpi.
SIZE frameSizeFor(HWND window, UINT dpi);
// Resizes the window so that its client area is the form's size at dpi exactly.
void sizeClientAreaToForm(HWND window, UINT dpi);

// A function of user32 that older versions of Windows lack; null there.
template <typename Function> Function user32Function(const char* name) {
    const FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

} // namespace kelvrast
