#pragma once

#include <functional>

namespace kelvrast {

// A timer whose interval is fixed by its owner. While enabled it calls its tick handler on the user-interface
// thread each time the interval has passed; ticks that fall due during another event do not pile up.
class Timer {
public:
    virtual ~Timer() = default;

    // Enabling a running timer leaves it running at the same pace; it does not start the interval over.
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setTickHandler(std::function<void()> handler) = 0;
};

} // namespace kelvrast
