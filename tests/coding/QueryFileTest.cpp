#include "coding/QueryFile.h"

#include "support/SystemFiles.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kelvrast {
namespace {

using testing::readBytes;
using testing::SystemFiles;
using testing::TempFolder;
using testing::writeBytes;

class QueryFileTest : public ::testing::Test {
protected:
    std::filesystem::path queryFile() const { return folder.path() / "query.txt"; }
    std::filesystem::path codedFile() const { return folder.path() / "queri.txt"; }

    Status run() { return codeFile(files, folder.path(), "", codeNumber); }

    TempFolder folder;
    SystemFiles files;
    float codeNumber = 23.0f;
};

TEST_F(QueryFileTest, CopiesEachKindOfLine) {
    writeBytes(queryFile(), "query 1 abc\r\n"
                            "Query 2 xyz\r\n"
                            "QUERY 3\r\n"
                            "query 4\r\n"
                            "query \r\n"
                            "query\r\n"
                            "queryX 5\r\n"
                            " query 6 x\r\n"
                            "Assignment 3\r\n"
                            "ASSIGN query 7 q\r\n"
                            "\r\n"
                            "any other line \xE9\xFF\r\n"
                            "last line without an end");
    ASSERT_TRUE(run().ok());
    EXPECT_EQ(codeNumber, 11.0f);
    EXPECT_EQ(readBytes(codedFile()), "query abc\r\n"
                                      "query xyz\r\n"
                                      "query\r\n"
                                      "query\r\n"
                                      "query\r\n"
                                      "query\r\n"
                                      "queryX 5\r\n"
                                      " query 6 x\r\n"
                                      "Assignment 3\r\n"
                                      "ASSIGN query 7 q\r\n"
                                      "\r\n"
                                      "any other line \xE9\xFF\r\n"
                                      "last line without an end\r\n");
    EXPECT_EQ(readBytes(queryFile()).substr(0, 13), "query 1 abc\r\n");
}

TEST_F(QueryFileTest, TakesTheCodeNumberFromTheFirstLineAsRead) {
    const std::pair<std::string, float> cases[] = {
        {"\r\nquery 1 a\r\n", 0.0f}, // an empty first line
        {"abc\ndef\rxyz", 7.0f},     // a lone LF stays inside the line
        {"\xC4\xD6\xDC\r\n", 3.0f},  // one character per byte
        {"only line", 9.0f},         // no line end at all
    };
    for (const auto& [contents, expected] : cases) {
        writeBytes(queryFile(), contents);
        ASSERT_TRUE(run().ok());
        EXPECT_EQ(codeNumber, expected) << contents;
    }
}

TEST_F(QueryFileTest, EmptiesTheCodedFileSoASecondRunGivesTheSameOutput) {
    writeBytes(codedFile(), std::string(500, 'z'));
    writeBytes(queryFile(), "query 1 abc\r\nAssign 2\r\n");
    ASSERT_TRUE(run().ok());
    const std::string first = readBytes(codedFile());
    EXPECT_EQ(first, "query abc\r\nAssign 2\r\n");
    ASSERT_TRUE(run().ok());
    EXPECT_EQ(readBytes(codedFile()), first);
}

TEST_F(QueryFileTest, AMissingOrEmptyQueryFileLeavesEverythingAsItWas) {
    writeBytes(codedFile(), "earlier output\r\n");
    Status missing = run();
    EXPECT_FALSE(missing.ok());
    EXPECT_FALSE(missing.message().empty());

    writeBytes(queryFile(), "");
    Status empty = run();
    EXPECT_FALSE(empty.ok());
    EXPECT_FALSE(empty.message().empty());

    EXPECT_EQ(codeNumber, 23.0f);
    EXPECT_EQ(readBytes(codedFile()), "earlier output\r\n");
}

TEST_F(QueryFileTest, ACodedFileThatCannotBeWrittenFailsAfterTheCodeNumberChanged) {
    std::filesystem::create_directory(codedFile());
    writeBytes(queryFile(), "query 1 abc\r\n");
    Status status = run();
    EXPECT_FALSE(status.ok());
    EXPECT_FALSE(status.message().empty());
    EXPECT_EQ(codeNumber, 11.0f);
    EXPECT_TRUE(std::filesystem::is_directory(codedFile()));
}

TEST_F(QueryFileTest, UsesTheTagInBothFileNames) {
    writeBytes(folder.path() / "query7.txt", "Query 1 tagged\r\n");
    ASSERT_TRUE(codeFile(files, folder.path(), "7", codeNumber).ok());
    EXPECT_EQ(readBytes(folder.path() / "queri7.txt"), "query tagged\r\n");
    EXPECT_FALSE(std::filesystem::exists(codedFile()));
}

} // namespace
} // namespace kelvrast
