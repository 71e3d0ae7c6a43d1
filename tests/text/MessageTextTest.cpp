#include "text/MessageText.h"
#include "support/SystemFiles.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvrast {
namespace {

// A file name that no text can hold: bytes that are no UTF-8 on POSIX (a name in Latin-1, say), half a surrogate
// pair on Windows. Messages show it as "gone?.txt".
#ifdef _WIN32
const std::filesystem::path undecodable(L"gone\xD800.txt");
#else
const std::filesystem::path undecodable("gone\xFF.txt");
#endif

TEST(MessageText, PathsShowAsTheirCharactersOrAsciiAndQuestionMarks) {
    EXPECT_EQ(pathText(std::filesystem::path(u"/home/\u738B\u82B3/send_0107\U0001F600.txt")),
              u"/home/\u738B\u82B3/send_0107\U0001F600.txt");
    // A name that cannot be decoded: the message still names the rest.
    EXPECT_EQ(pathText(std::filesystem::path(u"home") / undecodable),
              (std::filesystem::path(u"home") / u"gone?.txt").u16string());
    EXPECT_EQ(pathText(std::filesystem::path()), u"");
}

TEST(MessageText, AsciiTextKeepsAsciiAndMarksEveryOtherByte) {
    EXPECT_EQ(asciiText("Input/output error"), u"Input/output error");
    EXPECT_EQ(asciiText("caf\xC3\xA9!"), u"caf?"
                                         u"?!");
    EXPECT_EQ(asciiText(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(MessageText, AFileErrorOnAPathThatCannotBeDecodedIsStillReported) {
    testing::TempFolder folder;
    testing::SystemFiles files;
    const Status read = files.readLines(folder.path() / undecodable, [](std::string_view) {});
    ASSERT_FALSE(read.ok());
    EXPECT_TRUE(read.isNotFound());
    EXPECT_EQ(read.message(), u"Could not open " + (folder.path() / u"gone?.txt").u16string() +
                                  u": the file or its folder does not exist.");
}

} // namespace
} // namespace kelvrast
