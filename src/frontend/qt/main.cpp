#include "frontend/qt/QtFrontEnd.h"
#include "program/RunProgram.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // No display name: Qt would add it to the window title "Form1".
    QApplication::setApplicationName(QStringLiteral("kelvrast"));
    // The desktop entry's id: lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.kelvrast"));

    kelvrast::QtFrontEnd frontEnd;
    return kelvrast::runProgram(frontEnd);
}
