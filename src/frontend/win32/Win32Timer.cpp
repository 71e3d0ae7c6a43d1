#include "frontend/win32/Win32Timer.h"

namespace kelvrast {

Win32Timer::~Win32Timer() {
    if (running_)
        ::KillTimer(owner_, id_);
}

// SetTimer on a running timer would start its interval over and so delay the next tick.
void Win32Timer::setEnabled(bool enabled) {
    if (enabled && !running_)
        running_ = ::SetTimer(owner_, id_, interval_, nullptr) != 0;
    else if (!enabled && running_) {
        ::KillTimer(owner_, id_);
        running_ = false;
    }
}

void Win32Timer::tick() {
    if (running_ && handler_)
        handler_();
}

} // namespace kelvrast
