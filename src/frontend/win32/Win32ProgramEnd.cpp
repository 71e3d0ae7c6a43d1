#include "frontend/win32/Win32ProgramEnd.h"

namespace kelvrast {

void Win32ProgramEnd::endProgram(int exitStatus) {
    if (exitStatus_)
        return;
    exitStatus_ = exitStatus;
    // The window goes at once; nothing the student does reaches the program any more. It is destroyed by its owner
    // once the loop has ended, not here, inside one of its own handlers.
    if (window_)
        ::ShowWindow(window_, SW_HIDE);
    // Outside the loop, WM_QUIT would end the next modal dialog's loop at once; wWinMain returns the kept status.
    if (loopRunning_)
        ::PostQuitMessage(exitStatus);
}

} // namespace kelvrast
