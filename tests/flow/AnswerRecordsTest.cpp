#include "flow/AnswerRecords.h"

#include <gtest/gtest.h>

using namespace kelvrast;

TEST(AnswerRecordsTest, FixedLinesHaveTheirExactLengths) {
    EXPECT_EQ(records::recordOpener.size(), 49u);
    EXPECT_EQ(records::recordOpener.substr(6, 8), "!!!!!!!!");
    EXPECT_EQ(records::recordCloser, std::string(49, '.'));
    EXPECT_EQ(records::timeLineIndent, std::string(36, ' '));
    EXPECT_EQ(records::recordTag, "\x60questionNumber");
}

TEST(AnswerRecordsTest, AnswerRecordOfTheWorkedExampleByteForByte) {
    const std::string entry = "`q001.  Part 1.\r\n\r\nSecond paragraph.";
    const std::string opener = "......!!!!!!!!...................................\r\n";
    const std::string closer = std::string(49, '.') + "\r\n";
    const std::string time = std::string(36, ' ') + "14:05:09\r\n";

    const std::string master = records::answerBlock({"14:05:09", 10001, entry, "OK"});
    EXPECT_EQ(master, opener + time + "`questionNumber 10001 \r\n" + entry + "\r\n" + opener + "RESPONSE -->  \r\n" +
                          "OK\r\n" + closer);
    EXPECT_EQ(std::string("`questionNumber 10001 ").size(), 22u);

    const std::string send = records::answerBlock({"14:05:09", std::nullopt, entry, "OK"});
    EXPECT_EQ(send, opener + time + entry + "\r\n" + opener + "RESPONSE -->  \r\n" + "OK\r\n" + closer);
}

TEST(AnswerRecordsTest, NotesRecordHasTheDateBeforeTheSecondTimeAndNoKey) {
    const std::string notes =
        records::notesBlock({"14:05:09", "12-07-2026", "14:05:10", "`q001.", "NOTES -------> OK"});
    const std::string opener = std::string(records::recordOpener) + "\r\n";
    EXPECT_EQ(notes, opener + std::string(36, ' ') + "14:05:09\r\n" + std::string(36, ' ') + "12-07-202614:05:10\r\n" +
                         "`q001.\r\n" + opener + "NOTES -------> OK\r\n" + std::string(49, '.') + "\r\n");
}

TEST(AnswerRecordsTest, MultiLineAndEmptyAnswersAreWrittenUnchanged) {
    const std::string block = records::answerBlock({"09:00:00", std::nullopt, "", "line one\r\nline two"});
    EXPECT_NE(block.find("RESPONSE -->  \r\nline one\r\nline two\r\n....."), std::string::npos);
    const std::string empty = records::answerBlock({"09:00:00", 10000, "", ""});
    EXPECT_NE(empty.find("`questionNumber 10000 \r\n\r\n"), std::string::npos);
    EXPECT_NE(empty.find("RESPONSE -->  \r\n\r\n....."), std::string::npos);
}

TEST(AnswerRecordsTest, AssignmentHeaderIsFourLines) {
    EXPECT_EQ(records::assignmentHeader("\xC8\x80", "assignment #001", "qa fenwick", "qa fenwick"),
              "\xC8\x80\r\nassignment #001\r\nqa fenwick\r\nqa fenwick\r\n");
}

TEST(AnswerRecordsTest, RecognisesKeyLinesByTheExactTag) {
    EXPECT_EQ(records::keyOf("`questionNumber 10001 "), 10001.0);
    EXPECT_EQ(records::keyOf("`questionNumber"), 0.0);
    EXPECT_EQ(records::keyOf("`questionNumber 1000050 "), 1000050.0);
    EXPECT_EQ(records::keyOf("`questionNumber-5"), -5.0);
    EXPECT_FALSE(records::keyOf("`QuestionNumber 10001 "));
    EXPECT_FALSE(records::keyOf(" `questionNumber 10001 "));
    EXPECT_FALSE(records::keyOf("`questionNumbe"));
    EXPECT_EQ(records::keyLine(10001), "`questionNumber 10001 ");
    EXPECT_EQ(records::keyOf(records::keyLine(20049)), 20049.0);
}
