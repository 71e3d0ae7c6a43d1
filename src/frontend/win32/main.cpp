#include "frontend/win32/Win32Beep.h"
#include "frontend/win32/Win32Dialogs.h"
#include "frontend/win32/Win32MainWindow.h"
#include "frontend/win32/Win32ProgramEnd.h"
#include "platform/TimeSeededRandom.h"
#include "system/SystemClock.h"
#include "system/WorkingFolder.h"
#include "system/windows/Win32Files.h"

#include <windows.h>

#include <commctrl.h>

using namespace kelvrast;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // The manifest asks for version 6 of the common controls, which this registers for the process.
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);

    SystemClock clock;
    TimeSeededRandom random;
    Win32Files files;
    Win32Dialogs dialogs(nullptr);
    Win32ProgramEnd programEnd;
    Win32Beep beep;
    Win32MainWindow window(Platform{.clock = clock,
                                    .random = random,
                                    .files = files,
                                    .dialogs = dialogs,
                                    .programEnd = programEnd,
                                    .beep = beep},
                           workingFolder());
    programEnd.setWindow(window.handle());

    // Start-up asks for the name before the window is shown, and a failure ends the run without showing it.
    Status started = window.load();
    if (!started.ok()) {
        dialogs.message(started.message());
        return 1;
    }
    if (programEnd.exitStatus())
        return *programEnd.exitStatus();

    dialogs.setOwner(window.handle());
    window.show(showCommand);
    programEnd.setLoopRunning(true);
    int status = 0;
    MSG message{};
    // Once the program has ended, no further message is handled, not even one already queued.
    while (!programEnd.exitStatus()) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            status = static_cast<int>(message.wParam);
            break;
        }
        if (got == -1) {
            status = 1;
            break;
        }
        window.processMessage(message);
    }
    programEnd.setLoopRunning(false);
    return programEnd.exitStatus().value_or(status);
}
