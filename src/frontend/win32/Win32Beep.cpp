#include "frontend/win32/Win32Beep.h"

#include <windows.h>

namespace kelvrast {

void Win32Beep::beep() {
    ::MessageBeep(MB_OK);
}

} // namespace kelvrast
