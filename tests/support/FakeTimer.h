#pragma once

#include "platform/Timer.h"

#include <functional>

namespace kelvrast::testing {

// A timer that ticks only when the test says the interval has passed, and like a real one only while enabled.
class FakeTimer : public Timer {
public:
    // How often the timer was switched on while it was off; a running timer keeps its pace when enabled again.
    int starts = 0;

    void setEnabled(bool enabled) override {
        if (enabled && !enabled_)
            ++starts;
        enabled_ = enabled;
    }
    bool isEnabled() const override { return enabled_; }
    void setTickHandler(std::function<void()> handler) override { handler_ = std::move(handler); }

    // One interval passes.
    void elapse() {
        if (enabled_ && handler_)
            handler_();
    }
    bool hasTickHandler() const { return static_cast<bool>(handler_); }

private:
    bool enabled_ = false;
    std::function<void()> handler_;
};

} // namespace kelvrast::testing
