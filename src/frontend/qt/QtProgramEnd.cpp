#include "frontend/qt/QtProgramEnd.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

namespace kelvrast {

void QtProgramEnd::endProgram(int exitStatus) {
    exitStatus_ = exitStatus;
    // The windows go at once; nothing the student does reaches the program any more.
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    // Outside an event loop, exit() would only make every later loop, a modal dialog's too, return at once;
    // main() returns the kept status instead.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(exitStatus);
}

} // namespace kelvrast
