#include "frontend/qt/QtTimer.h"

#include <QTimer>

namespace kelvrast {

QtTimer::QtTimer(QTimer& timer) : timer_(timer) {
    timeout_ = QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
        if (handler_)
            handler_();
    });
}

QtTimer::~QtTimer() {
    QObject::disconnect(timeout_);
}

// QTimer::start() on a running timer would start the interval over and so delay the next tick.
void QtTimer::setEnabled(bool enabled) {
    if (enabled && !timer_.isActive())
        timer_.start();
    else if (!enabled)
        timer_.stop();
}

bool QtTimer::isEnabled() const {
    return timer_.isActive();
}

void QtTimer::setTickHandler(std::function<void()> handler) {
    handler_ = std::move(handler);
}

} // namespace kelvrast
