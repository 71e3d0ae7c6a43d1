#include "frontend/qt/QtBeep.h"

#include <QApplication>

namespace kelvrast {

void QtBeep::beep() {
    QApplication::beep();
}

} // namespace kelvrast
