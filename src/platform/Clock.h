#pragma once

#include <cstdint>
#include <string>

namespace kelvrast {

// The local date and time of day, as the answer files write them.
class Clock {
public:
    virtual ~Clock() = default;

    // Today's date as mm-dd-yyyy.
    virtual std::string date() const = 0;
    // The time of day as hh:mm:ss on the 24-hour clock.
    virtual std::string time() const = 0;
    // Seconds since midnight, for seeding the run's random generator.
    virtual std::uint32_t secondsSinceMidnight() const = 0;
};

} // namespace kelvrast
