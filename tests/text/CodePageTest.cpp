#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvrast::codepage {
namespace {

TEST(CodePageTest, EveryByteSurvivesARoundTrip) {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(static_cast<unsigned char>(b));
    const std::u16string text = toUnicode(bytes);
    ASSERT_EQ(text.size(), 256u);
    const Encoded back = fromUnicode(text);
    EXPECT_EQ(back.bytes, bytes);
    EXPECT_TRUE(back.unmappable.empty());
}

TEST(CodePageTest, MapsBytesToTheirWindowsCharacters) {
    const std::pair<unsigned char, char16_t> cases[] = {
        {0x41, u'A'},      {0x0D, u'\r'},     {0x80, u'\u20AC'}, {0x81, u'\u0081'}, {0x8D, u'\u008D'},
        {0x8F, u'\u008F'}, {0x90, u'\u0090'}, {0x92, u'\u2019'}, {0x96, u'\u2013'}, {0x9D, u'\u009D'},
        {0x9F, u'\u0178'}, {0xA0, u'\u00A0'}, {0xE9, u'\u00E9'}, {0xFF, u'\u00FF'},
    };
    for (const auto& [byte, unit] : cases) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(toUnicode(one), std::u16string(1, unit)) << "byte " << int(byte);
        EXPECT_EQ(fromUnicode(std::u16string(1, unit)).bytes, one) << "byte " << int(byte);
    }
}

TEST(CodePageTest, ReplacesWhatItCannotHoldAndListsEachOnce) {
    // pi, theta, less-or-equal, an emoji as a surrogate pair, pi again, a C1 control that Windows-1252 uses for €.
    const std::u16string text = u"a\u03C0b\u03B8\u2264\U0001F600\u03C0\u0080\u20AC";
    const Encoded encoded = fromUnicode(text);
    EXPECT_EQ(encoded.bytes, "a?b?????\x80");
    EXPECT_EQ(encoded.unmappable,
              (std::vector<std::u16string>{u"\u03C0", u"\u03B8", u"\u2264", u"\U0001F600", u"\u0080"}));
}

TEST(CodePageTest, ALoneSurrogateIsOneUnmappableCharacter) {
    const std::u16string text{u'x', char16_t(0xD83D), u'y', char16_t(0xDE00), char16_t(0xD83D)};
    const Encoded encoded = fromUnicode(text);
    EXPECT_EQ(encoded.bytes, "x?y??");
    EXPECT_EQ(encoded.unmappable, (std::vector<std::u16string>{{char16_t(0xD83D)}, {char16_t(0xDE00)}}));
}

TEST(CodePageTest, LowersOnlyTheAsciiLetters) {
    // The neighbours of A and Z, and the Windows-1252 capitals (whose low seven bits are letters) stay as they are.
    const std::string text = "@AZ[`az{ \xC0\xC1\xDA\xDE\x8A\xD7";
    EXPECT_EQ(lowerAscii(text), "@az[`az{ \xC0\xC1\xDA\xDE\x8A\xD7");
    EXPECT_EQ(lowerAscii(std::string_view("END\0PROGRAM", 11)), std::string("end\0program", 11));
}

} // namespace
} // namespace kelvrast::codepage
