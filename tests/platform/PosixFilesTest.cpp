#include "platform/posix/PosixFiles.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kelvrast;
using kelvrast::testing::readBytes;
using kelvrast::testing::TempFolder;
using kelvrast::testing::writeBytes;

namespace {

std::vector<std::string> linesOf(Files& files, const std::filesystem::path& file) {
    std::vector<std::string> lines;
    Status read = files.readLines(file, [&](std::string_view line) { lines.emplace_back(line); });
    EXPECT_TRUE(read.ok()) << ::testing::PrintToString(read.message());
    return lines;
}

} // namespace

TEST(PosixFilesTest, SplitsLinesAtCarriageReturnsOnly) {
    TempFolder folder;
    PosixFiles files;
    const auto file = folder.path() / "lines.txt";
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"A", {"A"}},
        {"A\r\nB\r\n", {"A", "B"}},
        {"A\r\nB", {"A", "B"}},
        {"A\rB\r", {"A", "B"}},
        {"A\nB\r\n", {"A\nB"}},
        {"\r\n\r\n", {"", ""}},
        {"A\r\n\nB", {"A", "\nB"}},
        {"A\r\r\nB", {"A", "", "B"}},
    };
    for (const Case& c : cases) {
        writeBytes(file, c.bytes);
        EXPECT_EQ(linesOf(files, file), c.lines) << "bytes: " << c.bytes;
    }
}

TEST(PosixFilesTest, KeepsLinesWholeAcrossReadBuffers) {
    TempFolder folder;
    PosixFiles files;
    const auto file = folder.path() / "long.txt";
    // A CR LF pair split across the 64 KiB read buffer, and lines longer than the buffer.
    const std::string first(65535, 'x');
    const std::string second(200000, 'y');
    writeBytes(file, first + "\r\n" + second + "\r\n\xE9\r\n");
    EXPECT_EQ(linesOf(files, file), (std::vector<std::string>{first, second, "\xE9"}));
}

TEST(PosixFilesTest, AppendsBlocksAndTakesOnlyTheLastBackWhileItIsStillLast) {
    TempFolder folder;
    PosixFiles files;
    const auto file = folder.path() / "answers.txt";
    Result<AppendReceipt> first = files.appendBlock(file, "one\r\n");
    ASSERT_TRUE(first.ok()) << ::testing::PrintToString(first.status().message());
    Result<AppendReceipt> second = files.appendBlock(file, "two\r\n");
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second.value().sizeBefore, 5u);
    EXPECT_EQ(second.value().length, 5u);

    // The first block is no longer at the end, so it stays.
    EXPECT_FALSE(files.takeBack(file, first.value()).ok());
    EXPECT_EQ(readBytes(file), "one\r\ntwo\r\n");

    EXPECT_TRUE(files.takeBack(file, second.value()).ok());
    EXPECT_EQ(readBytes(file), "one\r\n");
}

TEST(PosixFilesTest, ReportsFailuresNamingTheFileAndReason) {
    TempFolder folder;
    PosixFiles files;
    const auto aFolder = folder.path() / "send.txt";
    ASSERT_TRUE(files.createFolder(aFolder).ok());
    EXPECT_FALSE(files.createFolder(aFolder).ok());

    Result<AppendReceipt> appended = files.appendBlock(aFolder, "x\r\n");
    ASSERT_FALSE(appended.ok());
    EXPECT_NE(appended.status().message().find(aFolder.u16string()), std::u16string::npos);
    EXPECT_NE(appended.status().message().find(u"folder"), std::u16string::npos);

    const auto missing = folder.path() / "gone" / "notes.txt";
    Status read = files.readLines(missing, [](std::string_view) {});
    EXPECT_FALSE(read.ok());
    EXPECT_NE(read.message().find(u"does not exist"), std::u16string::npos);
    EXPECT_FALSE(files.touch(missing).ok());
}

TEST(PosixFilesTest, TouchCreatesAMissingFileAndKeepsAnExistingOne) {
    TempFolder folder;
    PosixFiles files;
    const auto file = folder.path() / "send.txt";
    ASSERT_TRUE(files.touch(file).ok());
    EXPECT_TRUE(std::filesystem::exists(file));
    writeBytes(file, "kept");
    ASSERT_TRUE(files.touch(file).ok());
    EXPECT_EQ(readBytes(file), "kept");
}

TEST(PosixFilesTest, WriteFileStartsFromTheBeginning) {
    TempFolder folder;
    PosixFiles files;
    const auto file = folder.path() / "queri.txt";
    writeBytes(file, "a much longer old content");
    ASSERT_TRUE(files.writeFile(file, "new\r\n").ok());
    EXPECT_EQ(readBytes(file), "new\r\n");
}
