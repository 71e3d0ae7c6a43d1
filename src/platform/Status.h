#pragma once

#include <cassert>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>

namespace kelvrast {

// The outcome of an operation that can fail: success, or a failure with a message in plain words, in UTF-16 as
// the student will read it.
class [[nodiscard]] Status {
public:
    static Status success() { return Status{}; }
    static Status failure(std::u16string message) {
        Status status;
        status.failed_ = true;
        status.message_ = std::move(message);
        return status;
    }
    // A failure because the file or folder does not exist, which some callers expect and handle apart.
    static Status notFound(std::u16string message) {
        Status status = failure(std::move(message));
        status.notFound_ = true;
        return status;
    }

    // A failure to finish what an earlier run left unfinished; what it describes is still there for a later try.
    static Status leftUnfinished(std::u16string message) {
        Status status = failure(std::move(message));
        status.leftUnfinished_ = true;
        return status;
    }

    bool ok() const { return !failed_; }
    bool isNotFound() const { return notFound_; }
    bool isLeftUnfinished() const { return leftUnfinished_; }
    const std::u16string& message() const { return message_; }

private:
    bool failed_ = false;
    bool notFound_ = false;
    bool leftUnfinished_ = false;
    std::u16string message_;
};

// A value, or the failure that kept the operation from producing one: always exactly one of the two, never a
// partial value. Made from a success it would hold neither, so that is refused in every build.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : outcome_(std::in_place_index<0>, std::move(value)) {}
    Result(Status failure) : outcome_(std::in_place_index<1>, std::move(failure)) {
        if (std::get<1>(outcome_).ok())
            throw std::logic_error("a result was made from a success, which has no value to give");
    }

    bool ok() const { return outcome_.index() == 0; }
    const T& value() const {
        assert(ok());
        return std::get<0>(outcome_);
    }
    T& value() {
        assert(ok());
        return std::get<0>(outcome_);
    }
    // Why there is no value; only for a result that is not ok().
    const Status& status() const {
        assert(!ok());
        return std::get<1>(outcome_);
    }

private:
    std::variant<T, Status> outcome_;
};

} // namespace kelvrast
