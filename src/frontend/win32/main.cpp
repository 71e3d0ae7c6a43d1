#include "frontend/win32/Win32FrontEnd.h"
#include "program/RunProgram.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // The manifest asks for version 6 of the common controls, which this registers for the process.
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);
    // The controls hand a screen reader their objects through COM (LresultFromObject), on this, the window's thread;
    // the apartment lasts as long as the process.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    kelvrast::Win32FrontEnd frontEnd(showCommand);
    return kelvrast::runProgram(frontEnd);
}
