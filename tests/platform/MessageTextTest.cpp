#include "platform/MessageText.h"
#include "support/SystemFiles.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvrast {
namespace {

TEST(MessageText, PathsShowAsTheirCharactersOrAsciiAndQuestionMarks) {
    EXPECT_EQ(pathText(std::filesystem::path(u"/home/\u738B\u82B3/send_0107\U0001F600.txt")),
              u"/home/\u738B\u82B3/send_0107\U0001F600.txt");
    // Bytes that are no UTF-8 (a folder named in Latin-1, say) cannot be decoded; the message still names the rest.
    EXPECT_EQ(pathText(std::filesystem::path("/home/Jos\xE9/k\xFF\xFE.txt")), u"/home/Jos?/k??.txt");
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
    SystemFiles files;
    const Status read = files.readLines(folder.path() / "gone\xFF.txt", [](std::string_view) {});
    ASSERT_FALSE(read.ok());
    EXPECT_TRUE(read.isNotFound());
    EXPECT_EQ(read.message(),
              u"Could not open " + folder.path().u16string() + u"/gone?.txt: the file or its folder does not exist.");
}

} // namespace
} // namespace kelvrast
