#include "platform/Status.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace kelvrast {
namespace {

TEST(Result, HoldsEitherTheValueOrTheFailure) {
    Result<std::string> empty = std::string();
    ASSERT_TRUE(empty.ok()) << "an empty value is still a value";
    EXPECT_EQ(empty.value(), "");

    Result<std::string> missing = Status::notFound("Could not open /x: the file or its folder does not exist.");
    ASSERT_FALSE(missing.ok());
    EXPECT_FALSE(missing.status().ok());
    EXPECT_TRUE(missing.status().isNotFound());
    EXPECT_EQ(missing.status().message(), "Could not open /x: the file or its folder does not exist.");
}

TEST(Result, RefusesASuccessWithoutAValue) {
    EXPECT_THROW(Result<int>(Status::success()), std::logic_error);
}

} // namespace
} // namespace kelvrast
