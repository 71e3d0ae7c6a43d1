#include "system/SystemClock.h"
#include "system/shared/MersenneRandom.h"

#include <gtest/gtest.h>

#include <regex>

using namespace kelvrast;

TEST(MersenneRandomTest, StaysBelowOneEvenForTheLargestDraw) {
    EXPECT_LT(MersenneRandom::fromBits(0xFFFFFFFFu), 1.0f);
    EXPECT_EQ(MersenneRandom::fromBits(0xFFFFFFFFu), 0.99999994f);
    EXPECT_EQ(MersenneRandom::fromBits(0), 0.0f);

    MersenneRandom random;
    random.seed(86399);
    for (int i = 0; i < 100000; ++i) {
        float r = random.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
}

TEST(MersenneRandomTest, TheSameSeedGivesTheSameNumbers) {
    MersenneRandom a;
    MersenneRandom b;
    a.seed(12345);
    b.seed(12345);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(a.next(), b.next());
}

TEST(SystemClockTest, WritesDateAndTimeWithLeadingZeros) {
    SystemClock clock;
    EXPECT_TRUE(std::regex_match(clock.date(), std::regex(R"((0[1-9]|1[0-2])-(0[1-9]|[12][0-9]|3[01])-[0-9]{4})")));
    EXPECT_TRUE(std::regex_match(clock.time(), std::regex(R"(([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9])")));
    EXPECT_LT(clock.secondsSinceMidnight(), 86400u);
}
