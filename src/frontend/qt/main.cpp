#include "frontend/qt/ProgramApplication.h"
#include "frontend/qt/QtFrontEnd.h"
#include "program/RunProgram.h"
#include "text/MessageText.h"

int main(int argc, char* argv[]) {
    kelvrast::ProgramApplication app(argc, argv);
    // No display name: Qt would add it to the window title "Form1".
    QApplication::setApplicationName(QStringLiteral("kelvrast"));
    // The desktop entry's id: lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.kelvrast"));

    kelvrast::QtFrontEnd frontEnd;
    app.whenFailed([&frontEnd](std::exception_ptr error) {
        frontEnd.dialogs().message(kelvrast::programStoppedText(error));
        frontEnd.programEnd().endProgram(1);
    });
    return kelvrast::runProgram(frontEnd);
}
