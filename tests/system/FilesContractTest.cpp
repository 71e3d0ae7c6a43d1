#include "support/FilesContract.h"
#include "support/HiddenFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace kelvrast;
using kelvrast::testing::entriesOf;
using kelvrast::testing::FilesContract;
using kelvrast::testing::isHidden;
using kelvrast::testing::isThere;
using kelvrast::testing::readBytes;
using kelvrast::testing::writeBytes;

namespace {

std::vector<std::string> linesOf(Files& files, const std::filesystem::path& file) {
    std::vector<std::string> lines;
    Status read = files.readLines(file, [&](std::string_view line) { lines.emplace_back(line); });
    EXPECT_TRUE(read.ok()) << ::testing::PrintToString(read.message());
    return lines;
}

} // namespace

TYPED_TEST_SUITE(FilesContract, kelvrast::testing::SystemFilesTypes, kelvrast::testing::SystemFilesName);

TYPED_TEST(FilesContract, SplitsLinesAtCarriageReturnsOnly) {
    auto& files = this->files;
    const auto& folder = this->folder;
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

TYPED_TEST(FilesContract, KeepsLinesWholeAcrossReadBuffers) {
    auto& files = this->files;
    const auto& folder = this->folder;
    const auto file = folder.path() / "long.txt";
    // A CR LF pair split across the 64 KiB read buffer, and lines longer than the buffer.
    const std::string first(65535, 'x');
    const std::string second(200000, 'y');
    writeBytes(file, first + "\r\n" + second + "\r\n\xE9\r\n");
    EXPECT_EQ(linesOf(files, file), (std::vector<std::string>{first, second, "\xE9"}));
}

TYPED_TEST(FilesContract, AppendsBlocksAndTakesOnlyTheLastBackWhileItIsStillLast) {
    auto& files = this->files;
    const auto& folder = this->folder;
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

    // Changed in place since, by an editor: the size still matches, the block is no longer the program's.
    writeBytes(file, "one\r\nTWO\r\n");
    EXPECT_FALSE(files.takeBack(file, second.value()).ok());
    EXPECT_EQ(readBytes(file), "one\r\nTWO\r\n");

    writeBytes(file, "one\r\ntwo\r\n");
    EXPECT_TRUE(files.takeBack(file, second.value()).ok());
    EXPECT_EQ(readBytes(file), "one\r\n");
}

TYPED_TEST(FilesContract, ReportsFailuresNamingTheFileAndReason) {
    auto& files = this->files;
    const auto& folder = this->folder;
    const auto aFolder = folder.path() / "send.txt";
    ASSERT_TRUE(files.createFolder(aFolder).ok());
    EXPECT_FALSE(files.createFolder(aFolder).ok());

    Result<AppendReceipt> appended = files.appendBlock(aFolder, "x\r\n");
    ASSERT_FALSE(appended.ok());
    EXPECT_NE(appended.status().message().find(aFolder.u16string()), std::u16string::npos);
    EXPECT_NE(appended.status().message().find(u"folder"), std::u16string::npos);
    // Every file of an answer is opened before any is written: the master file gets nothing either.
    const auto master = folder.path() / "master.txt";
    writeBytes(master, "kept\r\n");
    Status answer = files.appendBlocks({{master, "x\r\n"}, {aFolder, "x\r\n"}});
    ASSERT_FALSE(answer.ok());
    EXPECT_NE(answer.message().find(aFolder.u16string()), std::u16string::npos);
    EXPECT_EQ(readBytes(master), "kept\r\n");

    const auto missing = folder.path() / "gone" / "notes.txt";
    Status read = files.readLines(missing, [](std::string_view) {});
    EXPECT_FALSE(read.ok());
    EXPECT_NE(read.message().find(u"does not exist"), std::u16string::npos);
    EXPECT_FALSE(files.touch(missing).ok());
}

TYPED_TEST(FilesContract, TouchCreatesAMissingFileAndKeepsAnExistingOne) {
    auto& files = this->files;
    const auto& folder = this->folder;
    const auto file = folder.path() / "send.txt";
    ASSERT_TRUE(files.touch(file).ok());
    EXPECT_TRUE(isThere(file));
    writeBytes(file, "kept");
    ASSERT_TRUE(files.touch(file).ok());
    EXPECT_EQ(readBytes(file), "kept");
}

TYPED_TEST(FilesContract, WriteFileStartsFromTheBeginning) {
    auto& files = this->files;
    const auto& folder = this->folder;
    const auto file = folder.path() / "queri.txt";
    writeBytes(file, "a much longer old content");
    ASSERT_TRUE(files.writeFile(file, "new\r\n").ok());
    EXPECT_EQ(readBytes(file), "new\r\n");
    // Written beside it and put in its place: nothing else is left in the folder.
    ASSERT_TRUE(files.writeFile(folder.path() / "queri_coded.txt", "").ok());
    std::vector<std::string> names;
    for (const std::filesystem::path& entry : entriesOf(folder.path()))
        names.push_back(entry.filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"queri.txt", "queri_coded.txt"}));
}

// Every name a student can type makes a file of exactly that name, on every system: names beyond ASCII, and names
// that Windows keeps for devices when they stand alone (the answer files always carry a prefix).
TYPED_TEST(FilesContract, FilesOfAnyNameTheStudentCanHave) {
    auto& files = this->files;
    for (const std::u16string name :
         {u"Jos\u00E9", u"Zo\u00EB_Bront\u00EB", u"\u738B\u82B3", u"Con", u"NUL", u"COM1"}) {
        const std::filesystem::path file = this->folder.path() / (u"masterFile_" + name + u".txt");
        SCOPED_TRACE(::testing::PrintToString(name));
        ASSERT_TRUE(files.touch(file).ok());
        Result<AppendReceipt> appended = files.appendBlock(file, "one\r\n");
        ASSERT_TRUE(appended.ok()) << ::testing::PrintToString(appended.status().message());
        EXPECT_EQ(linesOf(files, file), std::vector<std::string>{"one"});
        EXPECT_EQ(readBytes(file), "one\r\n");
        ASSERT_TRUE(files.takeBack(file, appended.value()).ok());
        EXPECT_EQ(readBytes(file), "");
    }
    // Nothing but the files themselves, under the names given, is in the folder for the student to see.
    std::vector<std::u16string> shown;
    for (const std::filesystem::path& entry : entriesOf(this->folder.path()))
        if (!isHidden(entry))
            shown.push_back(entry.filename().u16string());
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown,
              (std::vector<std::u16string>{u"masterFile_COM1.txt", u"masterFile_Con.txt", u"masterFile_Jos\u00E9.txt",
                                           u"masterFile_NUL.txt", u"masterFile_Zo\u00EB_Bront\u00EB.txt",
                                           u"masterFile_\u738B\u82B3.txt"}));
}
