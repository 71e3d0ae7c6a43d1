#include "frontend/qt/ProgramApplication.h"

namespace kelvrast {

bool ProgramApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (!failed_)
            throw;
        failed_(std::current_exception());
        return false;
    }
}

} // namespace kelvrast
