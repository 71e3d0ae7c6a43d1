#include "platform/Status.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

namespace kelvrast {
namespace {

TEST(Result, HoldsEitherTheValueOrTheFailure) {
    Result<std::string> empty = std::string();
    ASSERT_TRUE(empty.ok()) << "an empty value is still a value";
    EXPECT_EQ(empty.value(), "");

    Result<std::string> missing = Status::notFound(u"Could not open /x: the file or its folder does not exist.");
    ASSERT_FALSE(missing.ok());
    EXPECT_FALSE(missing.status().ok());
    EXPECT_TRUE(missing.status().isNotFound());
    EXPECT_EQ(missing.status().message(), u"Could not open /x: the file or its folder does not exist.");
}

// A success has no value to give, so a Result is made only from a Failure, which Status::success() is not.
static_assert(!std::is_constructible_v<Result<int>, Status>);
static_assert(!std::is_convertible_v<Status, Failure>);
static_assert(std::is_constructible_v<Result<int>, Failure>);

TEST(Result, PassesAFailureOnAsItIs) {
    const Status missing = Status::notFound(u"gone");
    const Result<int> passed = missing.passedOn();
    ASSERT_FALSE(passed.ok());
    EXPECT_TRUE(passed.status().isNotFound());
    EXPECT_EQ(passed.status().message(), u"gone");
}

} // namespace
} // namespace kelvrast
