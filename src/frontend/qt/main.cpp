#include "frontend/qt/MainWindow.h"
#include "frontend/qt/QtBeep.h"
#include "frontend/qt/QtDialogs.h"
#include "frontend/qt/QtProgramEnd.h"
#include "platform/TimeSeededRandom.h"
#include "system/SystemClock.h"
#include "system/WorkingFolder.h"
#include "system/posix/PosixFiles.h"

#include <QApplication>

using namespace kelvrast;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // No display name: Qt would add it to the window title "Form1".
    QApplication::setApplicationName(QStringLiteral("kelvrast"));
    // The desktop entry's id: lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.kelvrast"));

    SystemClock clock;
    TimeSeededRandom random;
    PosixFiles files;
    QtDialogs dialogs(nullptr);
    QtProgramEnd programEnd;
    QtBeep beep;
    MainWindow window(Platform{.clock = clock,
                               .random = random,
                               .files = files,
                               .dialogs = dialogs,
                               .programEnd = programEnd,
                               .beep = beep},
                      workingFolder());

    // Start-up asks for the name before the window is shown, and a failure ends the run without showing it.
    Status started = window.load();
    if (!started.ok()) {
        dialogs.message(started.message());
        return 1;
    }
    if (programEnd.exitStatus())
        return *programEnd.exitStatus();

    dialogs.setParentWidget(&window);
    window.show();
    const int status = QApplication::exec();
    return programEnd.exitStatus().value_or(status);
}
