#pragma once

#include "platform/Clock.h"

namespace kelvrast {

// The machine's clock, in local time.
class SystemClock : public Clock {
public:
    std::string date() const override;
    std::string time() const override;
    std::uint32_t secondsSinceMidnight() const override;
};

} // namespace kelvrast
