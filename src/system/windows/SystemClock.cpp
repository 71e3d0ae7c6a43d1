#include "system/SystemClock.h"

#include <windows.h>

#include <cstdio>

namespace kelvrast {

std::string SystemClock::date() const {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%02u-%02u-%04u", unsigned{now.wMonth}, unsigned{now.wDay}, unsigned{now.wYear});
    return text;
}

std::string SystemClock::time() const {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", unsigned{now.wHour}, unsigned{now.wMinute},
                  unsigned{now.wSecond});
    return text;
}

std::uint32_t SystemClock::secondsSinceMidnight() const {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return std::uint32_t{now.wHour} * 3600 + std::uint32_t{now.wMinute} * 60 + std::uint32_t{now.wSecond};
}

} // namespace kelvrast
