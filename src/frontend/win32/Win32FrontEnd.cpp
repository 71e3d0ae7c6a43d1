#include "frontend/win32/Win32FrontEnd.h"

#include "frontend/win32/Win32MainWindow.h"

namespace kelvrast {

namespace {

// The window, which the program end hides once the program has ended and over which, once shown, the dialogs open.
class Win32ProgramWindow : public ProgramWindow {
public:
    Win32ProgramWindow(Platform machine, std::filesystem::path workingFolder, Win32Dialogs& dialogs,
                       Win32ProgramEnd& programEnd, int showCommand)
        : window_(machine, std::move(workingFolder), Win32MainWindow::Controls::afterStartUp), dialogs_(dialogs),
          programEnd_(programEnd), showCommand_(showCommand) {
        programEnd_.setWindow(window_.handle());
    }
    ~Win32ProgramWindow() override {
        dialogs_.setOwner(nullptr);
        programEnd_.setWindow(nullptr);
    }
    Win32ProgramWindow(const Win32ProgramWindow&) = delete;
    Win32ProgramWindow& operator=(const Win32ProgramWindow&) = delete;

    Status load() override { return window_.load(); }

    void show() override {
        dialogs_.setOwner(window_.handle());
        window_.show(showCommand_);
    }

    int runEventLoop() override;

private:
    Win32MainWindow window_;
    Win32Dialogs& dialogs_;
    Win32ProgramEnd& programEnd_;
    int showCommand_;
};

// Once the program has ended, no further message is handled, not even one already queued. While the loop runs, the
// program end ends it with WM_QUIT.
int Win32ProgramWindow::runEventLoop() {
    programEnd_.setLoopRunning(true);
    int status = 0;
    MSG message{};
    while (!programEnd_.exitStatus()) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            status = static_cast<int>(message.wParam);
            break;
        }
        if (got == -1) {
            status = 1;
            break;
        }
        window_.processMessage(message);
    }
    programEnd_.setLoopRunning(false);
    return status;
}

} // namespace

std::unique_ptr<ProgramWindow> Win32FrontEnd::makeWindow(Platform machine, std::filesystem::path workingFolder) {
    return std::make_unique<Win32ProgramWindow>(machine, std::move(workingFolder), dialogs_, programEnd_, showCommand_);
}

} // namespace kelvrast
