#pragma once

#include "platform/Clock.h"

#include <string>

namespace kelvrast::testing {

// A clock that shows whatever the test set; counts how often it was read.
class FakeClock : public Clock {
public:
    std::string dateText = "01-07-2027";
    std::string timeText = "14:05:09";
    std::uint32_t seconds = 50709;
    mutable int dateReads = 0;
    mutable int timeReads = 0;

    std::string date() const override {
        ++dateReads;
        return dateText;
    }
    std::string time() const override {
        ++timeReads;
        return timeText;
    }
    std::uint32_t secondsSinceMidnight() const override { return seconds; }
};

} // namespace kelvrast::testing
