#include "system/posix/RetryOnInterrupt.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/types.h>
#include <vector>

using kelvrast::retryOnInterrupt;

namespace {

// A system call that fails with each of the given errors in turn, then returns 7.
struct ScriptedCall {
    std::vector<int> errors;
    int calls = 0;

    ssize_t operator()() {
        if (calls < static_cast<int>(errors.size())) {
            errno = errors[calls++];
            return -1;
        }
        ++calls;
        return 7;
    }
};

} // namespace

TEST(RetryOnInterrupt, CallsAgainOnlyWhileInterrupted) {
    ScriptedCall interrupted{{EINTR, EINTR}};
    EXPECT_EQ(retryOnInterrupt([&] { return interrupted(); }), 7);
    EXPECT_EQ(interrupted.calls, 3);

    // Any other failure is the call's answer, and its errno stays for the caller to report.
    ScriptedCall full{{EINTR, ENOSPC}};
    EXPECT_EQ(retryOnInterrupt([&] { return full(); }), -1);
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_EQ(full.calls, 2);

    // A result other than -1 is never looked at again, whatever errno holds from before.
    errno = EINTR;
    ScriptedCall succeeds{{}};
    EXPECT_EQ(retryOnInterrupt([&] { return succeeds(); }), 7);
    EXPECT_EQ(succeeds.calls, 1);
}
