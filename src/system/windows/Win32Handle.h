#pragma once

#include "system/windows/Win32Calls.h"

#include <windows.h>

#include <utility>

namespace kelvrast {

// Owns an open file handle and closes it on every path out of the scope, through the calls that opened it.
class Win32Handle {
public:
    explicit Win32Handle(HANDLE handle, Win32Calls& calls = windowsCalls()) : handle_(handle), calls_(&calls) {}
    ~Win32Handle() {
        if (isOpen())
            calls_->closeHandle(handle_);
    }
    Win32Handle(const Win32Handle&) = delete;
    Win32Handle& operator=(const Win32Handle&) = delete;
    Win32Handle(Win32Handle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)), calls_(other.calls_) {}

    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
    Win32Calls* calls_;
};

} // namespace kelvrast
