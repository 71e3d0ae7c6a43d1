#include "coding/LineCoding.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvrast {
namespace {

std::string charOf(int code) {
    return std::string(1, static_cast<char>(static_cast<unsigned char>(code)));
}

TEST(CodeTest, ReturnsTheTextUnchangedWhateverTheCodeNumber) {
    const std::string all = [] {
        std::string bytes;
        for (int c = 0; c < 256; ++c)
            bytes += charOf(c);
        return bytes;
    }();
    for (float codeNbr : {-3.0f, 0.0f, 19.0f, 28.0f, 1000.5f}) {
        EXPECT_EQ(code("", codeNbr), "");
        EXPECT_EQ(code(all, codeNbr), all);
    }
}

struct DecodeCase {
    int input;
    std::string expected; // empty when the character is dropped
};

TEST(DecodeTest, SortsEachCharacterIntoItsBandWithCodeNumberTwenty) {
    const DecodeCase cases[] = {
        {32, " "},          // blank stays
        {65, charOf(254)},  // low band: 65 + 209 - 20
        {33, charOf(222)},  // low band
        {0, charOf(189)},   // lowest code
        {66, ""},           // middle band, dropped
        {97, ""},           // middle band, dropped
        {118, ""},          // top of the middle band, dropped
        {217, charOf(97)},  // high band: 217 - 20 - 100
        {120, charOf(0)},   // high band down to code 0
        {255, charOf(135)}, // highest code
    };
    for (const DecodeCase& c : cases) {
        Result<std::string> decoded = decode(charOf(c.input), 20.0f);
        ASSERT_TRUE(decoded.ok()) << "code " << c.input;
        EXPECT_EQ(decoded.value(), c.expected) << "code " << c.input;
    }
}

TEST(DecodeTest, KeepsTheOrderOfWhatItKeeps) {
    const std::string input = "A v" + charOf(217) + "B!" + charOf(120);
    Result<std::string> decoded = decode(input, 20.0f);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.value(), charOf(254) + " " + charOf(97) + charOf(222) + charOf(0));
}

TEST(DecodeTest, EmptyTextGivesEmptyText) {
    Result<std::string> decoded = decode("", 20.0f);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.value(), "");
}

TEST(DecodeTest, FailsWithNoTextWhenACodeFallsOutsideTheByteRange) {
    // 119 - 20 - 100 = -1; the good characters before it must not come back as a partial text.
    const std::string inputs[] = {charOf(119), "A " + charOf(217) + charOf(119) + "B"};
    for (const std::string& input : inputs) {
        Result<std::string> decoded = decode(input, 20.0f);
        EXPECT_FALSE(decoded.ok());
        EXPECT_FALSE(decoded.status().message().empty());
    }
    // A small code number pushes the low band above 255: 65 + 209 - 18 = 256.
    EXPECT_FALSE(decode("A", 18.0f).ok());
    EXPECT_TRUE(decode("A", 19.0f).ok());
}

TEST(DecodeTest, RoundsComputedCodesHalfToEven) {
    // 65 + 209 - 19.5 = 254.5 -> 254; 65 + 209 - 20.5 = 253.5 -> 254; 217 - 20.5 - 100 = 96.5 -> 96.
    EXPECT_EQ(decode("A", 19.5f).value(), charOf(254));
    EXPECT_EQ(decode("A", 20.5f).value(), charOf(254));
    EXPECT_EQ(decode(charOf(217), 20.5f).value(), charOf(96));
    // 119 - 19.5 - 100 = -0.5 rounds to 0, which is a valid code.
    ASSERT_TRUE(decode(charOf(119), 19.5f).ok());
    EXPECT_EQ(decode(charOf(119), 19.5f).value(), charOf(0));
}

TEST(RemSpacesTest, DropsBlanksAndHyphensOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"ab - c", "abc"},
        {"", ""},
        {" - -- ", ""},
        {"a_b\tc" + charOf(0xAD) + "d", "a_b\tc" + charOf(0xAD) + "d"}, // soft hyphen and tab stay
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(remSpaces(input), expected) << input;
}

} // namespace
} // namespace kelvrast
