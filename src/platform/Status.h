#pragma once

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace kelvrast {

class Failure;

// The outcome of an operation that can fail: success, or a failure with a message in plain words, in UTF-16 as
// the student will read it.
class [[nodiscard]] Status {
public:
    static Status success() { return Status{}; }
    static Failure failure(std::u16string message);
    // A failure because the file or folder does not exist, which some callers expect and handle apart.
    static Failure notFound(std::u16string message);
    // A failure to finish what an earlier run left unfinished; what it describes is still there for a later try.
    static Failure leftUnfinished(std::u16string message);
    // This failure, passed on as it is; only for a status that is not ok().
    Failure passedOn() const;

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

// A status that is a failure by its type: what Status::failure and its kin make, and what a Result takes in place
// of a value, so that a Result made from a success does not compile.
class [[nodiscard]] Failure : public Status {
private:
    friend class Status;
    Failure() = default;
};

inline Failure Status::failure(std::u16string message) {
    Failure made;
    made.failed_ = true;
    made.message_ = std::move(message);
    return made;
}

inline Failure Status::notFound(std::u16string message) {
    Failure made = failure(std::move(message));
    made.notFound_ = true;
    return made;
}

inline Failure Status::leftUnfinished(std::u16string message) {
    Failure made = failure(std::move(message));
    made.leftUnfinished_ = true;
    return made;
}

inline Failure Status::passedOn() const {
    assert(!ok());
    Failure made;
    static_cast<Status&>(made) = *this;
    made.failed_ = true; // never a success in disguise, even where asserts are off
    return made;
}

// A value, or the failure that kept the operation from producing one: always exactly one of the two, never a
// partial value. It takes a Failure, never a plain Status, so that one made from a success does not compile.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : outcome_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : outcome_(std::in_place_index<1>, std::move(failure)) {}

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
    const Failure& status() const {
        assert(!ok());
        return std::get<1>(outcome_);
    }

private:
    std::variant<T, Failure> outcome_;
};

} // namespace kelvrast
