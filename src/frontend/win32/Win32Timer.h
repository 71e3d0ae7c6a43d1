#pragma once

#include "platform/Timer.h"

#include <windows.h>

namespace kelvrast {

// A window timer: SetTimer on the owner window, whose WM_TIMER with this timer's id the window hands to tick(). The
// system makes WM_TIMER only when the queue is otherwise empty and never holds more than one, so ticks do not pile
// up.
class Win32Timer : public Timer {
public:
    Win32Timer(HWND owner, UINT_PTR id, UINT intervalMilliseconds)
        : owner_(owner), id_(id), interval_(intervalMilliseconds) {}
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return running_; }
    void setTickHandler(std::function<void()> handler) override { handler_ = std::move(handler); }

    UINT_PTR id() const { return id_; }
    // The owner's WM_TIMER for this timer. A tick already queued when the timer was stopped is dropped.
    void tick();

private:
    HWND owner_;
    UINT_PTR id_;
    UINT interval_;
    bool running_ = false;
    std::function<void()> handler_;
};

} // namespace kelvrast
