#pragma once

#include <optional>
#include <string>
#include <utility>

namespace kelvrast {

// The outcome of an operation that can fail: success, or a failure with a message in plain words.
class [[nodiscard]] Status {
public:
    static Status success() { return Status{}; }
    static Status failure(std::string message) {
        Status status;
        status.failed_ = true;
        status.message_ = std::move(message);
        return status;
    }
    // A failure because the file or folder does not exist, which some callers expect and handle apart.
    static Status notFound(std::string message) {
        Status status = failure(std::move(message));
        status.notFound_ = true;
        return status;
    }

    bool ok() const { return !failed_; }
    bool isNotFound() const { return notFound_; }
    const std::string& message() const { return message_; }

private:
    bool failed_ = false;
    bool notFound_ = false;
    std::string message_;
};

// A value, or the failure that kept the operation from producing one (never both, never a partial value).
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Status failure) : status_(std::move(failure)) {}

    bool ok() const { return value_.has_value(); }
    const T& value() const { return *value_; }
    T& value() { return *value_; }
    const Status& status() const { return status_; }

private:
    std::optional<T> value_;
    Status status_;
};

} // namespace kelvrast
