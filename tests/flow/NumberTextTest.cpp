#include "flow/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace kelvrast {
namespace {

struct ValueCase {
    std::string text;
    double value;
};

TEST(LeadingNumberValueTest, ReadsTheNumberThatStartsTheText) {
    const ValueCase cases[] = {
        {" 10001 ", 10001}, {"12 ", 12}, {"001", 1},  {"-3x", -3},       {"  +7.25z", 7.25},
        {"\t5", 5},         {"1.", 1},   {".5", 0.5}, {"-.5", -0.5},     {"3.14.15", 3.14},
        {"12 34", 12},      {" 1", 1},   {"1,5", 1},  {"0007.500", 7.5}, {"-0", 0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_DOUBLE_EQ(leadingNumberValue(text), value) << "text: \"" << text << "\"";
    }
}

TEST(LeadingNumberValueTest, IsZeroWithoutALeadingNumber) {
    const std::string texts[] = {"",    "abc", " ",   "--1",  "+-1",      "-",   ".",   "+.", "- 3",
                                 "nan", "NaN", "inf", "-inf", "Infinity", "x12", "\n7", "\r7"};
    for (const std::string& text : texts) {
        EXPECT_EQ(leadingNumberValue(text), 0.0) << "text: \"" << text << "\"";
    }
}

TEST(LeadingNumberValueTest, StopsBeforeHexadecimalAndExponents) {
    EXPECT_EQ(leadingNumberValue("0x10"), 0.0);
    EXPECT_EQ(leadingNumberValue("1e5"), 1.0);
    EXPECT_EQ(leadingNumberValue("2.5E+3"), 2.5);
    EXPECT_EQ(leadingNumberValue("&H10"), 0.0);
}

TEST(LeadingNumberValueTest, NeverGivesANegativeZero) {
    EXPECT_FALSE(std::signbit(leadingNumberValue("-0.000")));
}

TEST(LeadingNumberValueTest, ClampsNumbersTooLargeForADouble) {
    const std::string huge(400, '9');
    EXPECT_EQ(leadingNumberValue(huge), std::numeric_limits<double>::max());
    EXPECT_EQ(leadingNumberValue("-" + huge + ".5"), -std::numeric_limits<double>::max());
    EXPECT_EQ(leadingNumberValue("0." + std::string(400, '0') + "1"), 0.0);
}

TEST(LeadingNumberValueTest, RoundsToTheNearestDoubleTiesToEven) {
    // Halfway between two doubles, just past halfway, and at the edges of the subnormal range: every system reads
    // these to the same double.
    const std::string zeros323(323, '0');
    const std::pair<std::string, double> cases[] = {
        {"9007199254740993", 9007199254740992.0},
        {"9007199254740993.0000000000000000000000000001", 9007199254740994.0},
        {"9007199254740995", 9007199254740996.0},
        {"0.1", 0.1},
        {"0.3", 0.3},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
        {"0." + zeros323 + "2470328229206232720883", std::numeric_limits<double>::denorm_min()},
        {"0." + zeros323 + "2470328229206232720882", 0.0},
        {"0." + std::string(307, '0') + "22250738585072014", std::numeric_limits<double>::min()},
        {"17976931348623157" + std::string(292, '0'), std::numeric_limits<double>::max()},
        {"17976931348623159" + std::string(292, '0'), std::numeric_limits<double>::max()},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(leadingNumberValue(text), value) << "text: \"" << text.substr(0, 40) << "\"";
    }
}

TEST(LeadingNumberValueTest, DoesNotDependOnTheCLocale) {
    // Any locale that writes the decimal point as a comma will do.
    const char* const names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "fr_FR"};
    bool commaLocale = false;
    for (const char* name : names) {
        commaLocale = commaLocale || std::setlocale(LC_ALL, name) != nullptr;
    }
    if (!commaLocale) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    const double value = leadingNumberValue("1.5");
    const std::string text = numberText(1.5);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(value, 1.5);
    EXPECT_EQ(text, " 1.5");
}

TEST(NumberTextTest, WritesTheSignOrABlankBeforeTheDigits) {
    const std::pair<double, std::string> cases[] = {
        {1, " 1"},
        {12, " 12"},
        {-3, "-3"},
        {0, " 0"},
        {-0.0, " 0"},
        {10001, " 10001"},
        {1.5, " 1.5"},
        {-2.25, "-2.25"},
        {0.5, " .5"},
        {-0.5, "-.5"},
        {1e20, " 100000000000000000000"},
        {0.1, " .1"},
        // The fewest digits that read back, and whole numbers past 2^53 exactly, the same on every system.
        {0.1 + 0.2, " .30000000000000004"},
        {9.5, " 9.5"},
        {0.96, " .96"},
        {1e23, " 99999999999999991611392"},
        {std::ldexp(1.0, 60), " 1152921504606846976"},
        {2 * std::numeric_limits<double>::denorm_min(), " ." + std::string(322, '0') + "1"},
        {-std::numeric_limits<double>::infinity(), "-inf"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(numberText(value), text) << "value: " << value;
    }
}

TEST(NumberTextTest, IsReadBackAsTheSameNumber) {
    for (double value : {0.0, 7.0, -42.0, 10003.0, 0.1, -123.456, 1e-7, 98765.4321}) {
        EXPECT_EQ(leadingNumberValue(numberText(value)), value) << "value: " << value;
    }
}

} // namespace
} // namespace kelvrast
