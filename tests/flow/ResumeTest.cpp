#include "flow/Resume.h"
#include "support/LogicHarness.h"
#include "system/shared/UnfinishedAppend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace kelvrast;
using kelvrast::testing::LogicHarness;
using kelvrast::testing::readBytes;
using kelvrast::testing::SystemFiles;
using kelvrast::testing::writeBytes;

namespace {

const std::string assignmentEntry = "001.  Only assignment:  fenwick asst";
const std::string closer(49, '.');

std::string keyLines(std::initializer_list<const char*> keys) {
    std::string bytes;
    for (const char* key : keys)
        bytes += std::string("`questionNumber ") + key + " \r\n";
    return bytes;
}

// Splits a file at CR LF.
std::vector<std::string> lines(const std::string& bytes) {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        result.push_back(bytes.substr(start, end - start));
    return result;
}

struct Started {
    LogicHarness run;
    std::filesystem::path master;
    explicit Started(const std::string& masterBytes, const std::string& name = "Ann") {
        std::filesystem::create_directory(run.folder());
        master = run.folder() / ("masterFile_" + name + ".txt");
        writeBytes(master, masterBytes);
    }
};

} // namespace

TEST(ResumeTest, FirstRunCreatesTheMasterFileAndWritesTheSameHeaderToBothFiles) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    const std::string master = readBytes(run.state().masterFilePath);
    const std::string send = readBytes(run.state().sendFilePath);
    EXPECT_EQ(master, send);
    const auto header = lines(master);
    ASSERT_EQ(header.size(), 4u);
    EXPECT_EQ(header[1], "assignment #001");
    EXPECT_EQ(header[2], assignmentEntry);
    EXPECT_EQ(header[3], "qa fenwick");
    // The code line: codeNumber body characters; every character from 66 to 255.
    EXPECT_GE(header[0].size(), static_cast<std::size_t>(run.state().codeNumber));
    for (unsigned char c : header[0])
        EXPECT_GE(c, 66);
    EXPECT_EQ(run.state().lastAnswered, 0);
    EXPECT_EQ(run.state().bankIndex, 1);
}

TEST(ResumeTest, HeadersThirdLineIsTheLastLineTheMasterFileHeld) {
    {
        LogicHarness run;
        ASSERT_TRUE(run.start(u"Ann").ok());
        MainWindowLogic again(run.platform, run.folder());
        run.dialogs.inputs.push_back(u"Ann");
        ASSERT_TRUE(again.load().ok());
        const auto master = lines(readBytes(run.state().masterFilePath));
        ASSERT_EQ(master.size(), 8u);
        EXPECT_EQ(master[6], "qa fenwick"); // a run without records ends with the title
    }
    Started started("x\r\n" + keyLines({"10001"}) + "OK\r\n" + closer + "\r\n");
    ASSERT_TRUE(started.run.start(u"Ann").ok());
    const auto send = lines(readBytes(started.run.state().sendFilePath));
    ASSERT_EQ(send.size(), 4u);
    EXPECT_EQ(send[2], closer);
}

TEST(ResumeTest, ScansKeyLinesIntoTheProgressTable) {
    Started started("junk\r\n" + keyLines({"10001", "10003", "10002", "20049", "10000", "0"}) +
                    "`QuestionNumber 10007 \r\n");
    ASSERT_TRUE(started.run.start(u"Ann").ok());
    const auto& table = started.run.state().progressTable;
    EXPECT_EQ(table[1][1], 1);
    EXPECT_EQ(table[1][2], 2);
    EXPECT_EQ(table[1][3], 3);
    EXPECT_EQ(table[1][7], 0); // another letter case is no key line
    EXPECT_EQ(table[1][50], 3);
    EXPECT_EQ(table[2][49], 49);
    EXPECT_EQ(table[2][50], 49);
    EXPECT_EQ(started.run.state().lastAnswered, 3);
}

TEST(ResumeTest, KeysOfOtherAssignmentsOnlyAndTheEdgesOfTheTable) {
    Started started(keyLines({"20004", "1000050", "10050", "50"}));
    ASSERT_TRUE(started.run.start(u"Ann").ok());
    const auto& table = started.run.state().progressTable;
    EXPECT_EQ(started.run.state().lastAnswered, 0);
    EXPECT_EQ(table[1][50], 0); // question 50 is overwritten by the highest of 1 to 49
    EXPECT_EQ(table[2][50], 4);
    EXPECT_EQ(table[100][50], 0);
    EXPECT_EQ(table[0][50], 50); // assignment 0 is never summarised
}

TEST(ResumeTest, OutOfRangeKeysArePassedOverInsteadOfEndingEveryStart) {
    // An answer line that begins with the record tag is read back as a key line.
    Started started(keyLines({"10002", "-5", "10051", "1010000", "99999999999999999999"}) +
                    "`questionNumber nonsense\r\n`questionNumber-10001\r\n");
    ASSERT_TRUE(started.run.start(u"Ann").ok());
    EXPECT_EQ(started.run.state().lastAnswered, 2);
    const auto send = lines(readBytes(started.run.state().sendFilePath));
    ASSERT_EQ(send.size(), 4u);
    EXPECT_EQ(send[2], "`questionNumber-10001");
}

TEST(ResumeTest, SummarisingOnceAfterTheScanEqualsSummarisingAfterEveryLine) {
    std::mt19937 engine(7);
    for (int round = 0; round < 50; ++round) {
        std::vector<double> keys;
        for (int i = 0; i < 40; ++i)
            keys.push_back(std::uniform_int_distribution<int>(0, 5)(engine) * 10000 +
                           std::uniform_int_distribution<int>(0, 50)(engine));
        std::string bytes;
        for (double key : keys)
            bytes += "`questionNumber " + std::to_string(static_cast<long>(key)) + " \r\n";

        // The table as recomputing column 50 after every line leaves it.
        MainWindowState expected;
        int highest = 0;
        for (double key : keys) {
            double a = std::floor(key / 10000), q = std::floor((key / 10000 - a) * 10001);
            expected.progressTable[int(a)][int(q)] = q;
            highest = std::max(highest, int(a));
            for (int i = 1; i <= highest; ++i) {
                double m = 0;
                for (int j = 1; j <= 49; ++j)
                    m = std::max(m, expected.progressTable[i][j]);
                expected.progressTable[i][50] = m;
            }
        }

        kelvrast::testing::TempFolder folder;
        writeBytes(folder.path() / "m.txt", bytes);
        SystemFiles files;
        MainWindowState actual;
        ASSERT_TRUE(scanMasterFile(files, folder.path() / "m.txt", actual, "").ok());
        ASSERT_EQ(actual.progressTable, expected.progressTable) << bytes;
    }
}

TEST(ResumeTest, AHeaderThatCannotBeWrittenStopsStartUpAndLeavesNoPartOfIt) {
    LogicHarness run;
    std::filesystem::create_directories(run.folder() / "send_0107Ann.txt"); // the SEND file's path is a folder
    Status started = run.start(u"Ann");
    ASSERT_FALSE(started.ok());
    EXPECT_NE(started.message().find(u"send_0107Ann.txt"), std::u16string::npos);
    EXPECT_NE(started.message().find(u"folder"), std::u16string::npos);
    EXPECT_EQ(readBytes(run.folder() / "masterFile_Ann.txt"), "");
}

// The last run stopped inside an answer whose note names a file that cannot be opened now: the start says so once,
// goes on, and leaves the files for a later try.
TEST(ResumeTest, ARepairThatCannotFinishIsToldOnceAndTheStartGoesOn) {
    LogicHarness run;
    const auto master = run.folder() / "masterFile_Ann.txt";
    std::filesystem::create_directories(run.folder() / "notes_Ann.txt");
    std::filesystem::create_directories(unfinished::notePath(master).parent_path());
    writeBytes(master, "#1\r\nkept\r\n#9\r\n#1\r\npart");
    writeBytes(unfinished::notePath(master),
               unfinished::stampedNoteOf({{{}, 15, "#1\r\npart of it\r\n#9\r\n"}, {"notes_Ann.txt", 0, "x\r\n"}}, 0));
    const Status started = run.start(u"Ann");
    EXPECT_TRUE(started.ok());
    ASSERT_EQ(run.dialogs.messages.size(), 1u);
    EXPECT_NE(run.dialogs.messages[0].find(u"notes_Ann.txt"), std::u16string::npos);
    EXPECT_EQ(readBytes(master), "#1\r\nkept\r\n#9\r\n#1\r\npart");
}

TEST(ResumeTest, EveryFailingFileOperationLeavesEitherAWholeHeaderInBothFilesOrNone) {
    int faultPoints = 0;
    for (int k = 1;; ++k) {
        LogicHarness run;
        run.files.failAt = k;
        Status started = run.start(u"Ann");
        if (run.files.operations < k)
            break; // the start-up completed without reaching the fault
        ++faultPoints;
        const std::string master = readBytes(run.folder() / "masterFile_Ann.txt");
        const std::string send = readBytes(run.folder() / "send_0107Ann.txt");
        if (started.ok()) {
            EXPECT_EQ(lines(master).size(), 4u) << "fault at " << k;
            EXPECT_EQ(master, send) << "fault at " << k;
        } else {
            EXPECT_EQ(master, "") << "fault at " << k;
            EXPECT_EQ(send, "") << "fault at " << k;
            EXPECT_FALSE(started.message().empty());
        }
    }
    EXPECT_GE(faultPoints, 5);
}
