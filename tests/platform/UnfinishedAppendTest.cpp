#include "platform/UnfinishedAppend.h"
#include "support/FilesContract.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace kelvrast;
using kelvrast::testing::FilesContract;
using kelvrast::testing::readBytes;
using kelvrast::testing::TempFolder;
using kelvrast::testing::writeBytes;

namespace {

template <typename Implementation> using UnfinishedAppend = FilesContract<Implementation>;

} // namespace

TYPED_TEST_SUITE(UnfinishedAppend, kelvrast::testing::SystemFilesTypes, kelvrast::testing::SystemFilesName);

// A program killed inside write(2) leaves the start of its block at the end of the file (the durability tests
// kill real writers; here the cut is made by hand). The next append, or the next start's touch, takes it out.
TYPED_TEST(UnfinishedAppend, TheStartOfTheLastBlockIsTakenOutOnlyWhenNothingElseChangedTheFile) {
    const std::string first = "whole block\r\n";
    const std::string second = "a block that was being written when the program was killed\r\n";
    struct Case {
        const char* name;
        std::size_t keptOfSecond; // bytes of the second block left by the cut
        std::string changedTail;  // replaces what the cut left, as another program might
        bool viaTouch;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"cut, then appended to", 20, "", false, first + "next\r\n"},
        {"cut, then touched at start-up", 1, "", true, first},
        {"cut inside its last line end", second.size() - 1, "", true, first},
        {"written whole", second.size(), "", true, first + second},
        {"tail changed by another program", 20, "a block that was beinG", true, first + "a block that was beinG"},
        {"nothing of it written", 0, "", true, first},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        TypeParam files;
        const auto file = folder.path() / "masterFile_Ann.txt";
        ASSERT_TRUE(files.appendBlock(file, first).ok());
        ASSERT_TRUE(files.appendBlock(file, second).ok());
        std::string bytes = readBytes(file).substr(0, first.size() + c.keptOfSecond);
        if (!c.changedTail.empty())
            bytes = first + c.changedTail;
        writeBytes(file, bytes);

        if (c.viaTouch) {
            EXPECT_TRUE(files.touch(file).ok()) << c.name;
        } else {
            EXPECT_TRUE(files.appendBlock(file, "next\r\n").ok()) << c.name;
        }
        EXPECT_EQ(readBytes(file), c.expected) << c.name;
    }
}

TYPED_TEST(UnfinishedAppend, ABlockTakenBackOrFollowedByOthersIsNotTouchedAgain) {
    Files& files = this->files;
    const auto& folder = this->folder;
    const auto file = folder.path() / "send.txt";
    ASSERT_TRUE(files.appendBlock(file, "one\r\n").ok());
    Result<AppendReceipt> second = files.appendBlock(file, "two two two\r\n");
    ASSERT_TRUE(second.ok());
    ASSERT_TRUE(files.takeBack(file, second.value()).ok());
    ASSERT_TRUE(files.touch(file).ok());
    EXPECT_EQ(readBytes(file), "one\r\n");

    // A note that a kill cut short: its block never reached the file, so there is nothing to take out, and
    // bytes that are not the noted block are never taken out.
    const auto note = unfinished::notePath(file);
    ASSERT_TRUE(std::filesystem::exists(note));
    writeBytes(note, "5 40\nthr");
    ASSERT_TRUE(files.touch(file).ok());
    EXPECT_EQ(readBytes(file), "one\r\n");
    writeBytes(note, "5 40\nthree three three three three thre");
    writeBytes(file, "one\r\nthree thrEE");
    ASSERT_TRUE(files.touch(file).ok());
    EXPECT_EQ(readBytes(file), "one\r\nthree thrEE");
}
