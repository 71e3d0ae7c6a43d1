#include "frontend/win32/Win32FrontEnd.h"
#include "program/RunProgram.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // The manifest asks for version 6 of the common controls, which this registers for the process.
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);

    kelvrast::Win32FrontEnd frontEnd(showCommand);
    return kelvrast::runProgram(frontEnd);
}
