#include "platform/win32window/Win32Beep.h"

#include <windows.h>

namespace kelvrast {

void Win32Beep::beep() {
    ::MessageBeep(MB_OK);
}

} // namespace kelvrast
