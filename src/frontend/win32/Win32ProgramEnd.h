#pragma once

#include "platform/ProgramEnd.h"

#include <windows.h>

#include <optional>

namespace kelvrast {

// Ends the program through the window's message loop. The status is kept, so that wWinMain can return it, also when
// the program ends before the loop has started.
class Win32ProgramEnd : public ProgramEnd {
public:
    // The program's window, hidden at the end; null for none.
    void setWindow(HWND window) { window_ = window; }
    // Whether the message loop runs, which WM_QUIT would end.
    void setLoopRunning(bool running) { loopRunning_ = running; }

    void endProgram(int exitStatus) override;

    // The status the program ended with, once it has ended.
    std::optional<int> exitStatus() const { return exitStatus_; }

private:
    HWND window_ = nullptr;
    bool loopRunning_ = false;
    std::optional<int> exitStatus_;
};

} // namespace kelvrast
