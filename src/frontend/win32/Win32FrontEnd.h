#pragma once

#include "frontend/win32/Win32Beep.h"
#include "frontend/win32/Win32Dialogs.h"
#include "frontend/win32/Win32ProgramEnd.h"
#include "program/FrontEnd.h"

namespace kelvrast {

// The Windows program's window system: the system's own dialogs, beep and program end, the Win32 window, and the
// program's message loop.
class Win32FrontEnd : public FrontEndWith<Win32Dialogs, Win32ProgramEnd, Win32Beep> {
public:
    // How the window is to be shown, as wWinMain was told.
    explicit Win32FrontEnd(int showCommand) : showCommand_(showCommand) {}

    std::unique_ptr<ProgramWindow> makeWindow(Platform machine, std::filesystem::path workingFolder) override;

private:
    int showCommand_;
};

} // namespace kelvrast
