#include "frontend/win32/Win32FrontEnd.h"
#include "program/RunProgram.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    kelvrast::Win32FrontEnd frontEnd(showCommand);
    return kelvrast::runProgram(frontEnd);
}
