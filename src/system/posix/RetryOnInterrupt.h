#pragma once

#include <cerrno>

namespace kelvrast {

// Makes a system call again for as long as a signal interrupts it (it fails with EINTR). Returns what the last
// call returned, with errno as that call left it.
template <typename SystemCall> auto retryOnInterrupt(SystemCall call) {
    auto result = call();
    while (result == -1 && errno == EINTR)
        result = call();
    return result;
}

} // namespace kelvrast
