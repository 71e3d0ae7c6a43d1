#pragma once

#include "platform/Timer.h"

#include <functional>

namespace kelvrast {

// A timer that the page runs; its ticks come back as events, one at a time with the others, and one that falls due
// while an earlier tick of the same timer still waits is dropped (page.js).
class WebTimer : public Timer {
public:
    WebTimer(int id, int milliseconds) : id_(id), milliseconds_(milliseconds) {}

    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return enabled_; }
    void setTickHandler(std::function<void()> handler) override { handler_ = std::move(handler); }

    // A tick came from the page.
    void tick();

private:
    int id_;
    int milliseconds_;
    bool enabled_ = false;
    std::function<void()> handler_;
};

} // namespace kelvrast
