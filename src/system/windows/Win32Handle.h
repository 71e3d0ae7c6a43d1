#pragma once

#include <windows.h>

#include <utility>

namespace kelvrast {

// Owns an open file handle and closes it on every path out of the scope.
class Win32Handle {
public:
    explicit Win32Handle(HANDLE handle) : handle_(handle) {}
    ~Win32Handle() {
        if (isOpen())
            ::CloseHandle(handle_);
    }
    Win32Handle(const Win32Handle&) = delete;
    Win32Handle& operator=(const Win32Handle&) = delete;
    Win32Handle(Win32Handle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}

    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

} // namespace kelvrast
