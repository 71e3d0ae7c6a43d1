#include "system/SystemClock.h"

#include <cstdio>
#include <ctime>

namespace kelvrast {
namespace {

std::tm localNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

} // namespace

std::string SystemClock::date() const {
    std::tm now = localNow();
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d", now.tm_mon + 1, now.tm_mday, now.tm_year + 1900);
    return text;
}

std::string SystemClock::time() const {
    std::tm now = localNow();
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", now.tm_hour, now.tm_min, now.tm_sec);
    return text;
}

std::uint32_t SystemClock::secondsSinceMidnight() const {
    std::tm now = localNow();
    return static_cast<std::uint32_t>(now.tm_hour * 3600 + now.tm_min * 60 + now.tm_sec);
}

} // namespace kelvrast
