#pragma once

#include <windows.h>

namespace kelvrast {

// The control answers a screen reader's question for its client area itself: with the system's own object for it,
// named as the system names it, but with this role.
void answerWithRole(HWND control, long role);

} // namespace kelvrast
