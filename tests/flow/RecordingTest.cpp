#include "flow/AnswerRecords.h"
#include "support/LogicHarness.h"

#include <gtest/gtest.h>

using namespace kelvrast;
using kelvrast::testing::LogicHarness;
using kelvrast::testing::readBytes;

namespace {

struct Files3 {
    std::string master, send, notes;
    bool operator==(const Files3&) const = default;
};

Files3 snapshot(const LogicHarness& run) {
    return {readBytes(run.state().masterFilePath), readBytes(run.state().sendFilePath),
            readBytes(run.state().notesFilePath)};
}

std::string after(const std::string& now, const std::string& before) {
    EXPECT_TRUE(now.starts_with(before));
    return now.substr(before.size());
}

} // namespace

TEST(RecordingTest, EnterResponseAppendsTheAnswerRecordToMasterAndSend) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    run.logic.nextQuestionClicked();
    const Files3 before = snapshot(run);
    run.boxes.answer = u"OK\r\nsecond line";
    run.logic.enterResponseClicked();
    const std::string entry = run.state().currentLine;
    const Files3 now = snapshot(run);
    EXPECT_EQ(after(now.master, before.master), records::answerBlock({"14:05:09", 10001, entry, "OK\r\nsecond line"}));
    EXPECT_EQ(after(now.send, before.send),
              records::answerBlock({"14:05:09", std::nullopt, entry, "OK\r\nsecond line"}));
    EXPECT_EQ(now.notes, "");
    EXPECT_EQ(run.clock.timeReads, 2);
    EXPECT_EQ(run.state().textBuffer, "OK\r\nsecond line");
    EXPECT_FALSE(run.state().awaitingResponse);
    EXPECT_TRUE(run.boxes.question.empty());
    EXPECT_TRUE(run.boxes.answer.empty());
}

TEST(RecordingTest, BeforeAnyEntryTheKeyIsTheAssignmentAloneAndAnEmptyAnswerIsRecorded) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    const Files3 before = snapshot(run);
    run.logic.enterResponseClicked();
    EXPECT_EQ(after(snapshot(run).master, before.master), records::answerBlock({"14:05:09", 10000, "", ""}));
}

TEST(RecordingTest, SaveAsNotesAppendsTheNotesRecordToAllThreeFiles) {
    LogicHarness run;
    run.clock.dateText = "12-07-2026";
    ASSERT_TRUE(run.start(u"Ann").ok());
    run.logic.nextQuestionClicked();
    const Files3 before = snapshot(run);
    run.boxes.answer = u"OK";
    run.logic.saveAsNotesClicked();
    const std::string block =
        records::notesBlock({"14:05:09", "12-07-2026", "14:05:09", run.state().currentLine, "NOTES -------> OK"});
    const Files3 now = snapshot(run);
    EXPECT_EQ(after(now.master, before.master), block);
    EXPECT_EQ(after(now.send, before.send), block);
    EXPECT_EQ(now.notes, block);
    EXPECT_EQ(run.clock.timeReads, 6);
    EXPECT_EQ(run.state().textBuffer, "NOTES -------> OK");
    EXPECT_FALSE(run.state().awaitingResponse);
}

TEST(RecordingTest, CharactersTheFilesCannotHoldAreNamedAndTheStudentChooses) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    run.logic.nextQuestionClicked();
    const Files3 before = snapshot(run);
    run.boxes.answer = u"θ ≤ π, π \U0001F600 café";

    run.dialogs.choices = {false};
    run.logic.enterResponseClicked();
    ASSERT_EQ(run.dialogs.questions.size(), 1u);
    EXPECT_NE(run.dialogs.questions[0].find(u"θ  ≤  π  \U0001F600"), std::u16string::npos);
    EXPECT_EQ(snapshot(run), before);
    EXPECT_EQ(run.boxes.answer, u"θ ≤ π, π \U0001F600 café");
    EXPECT_TRUE(run.state().awaitingResponse);

    run.dialogs.choices = {true};
    run.logic.enterResponseClicked();
    EXPECT_NE(snapshot(run).send.find("RESPONSE -->  \r\n? ? ?, ? ? caf\xE9\r\n"), std::string::npos);
    EXPECT_FALSE(run.state().awaitingResponse);
}

TEST(RecordingTest, AFailedRecordingLosesNothingAndLeavesNoPartOfTheRecord) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    run.logic.nextQuestionClicked();
    int faultPoints = 0;
    for (bool notes : {false, true}) {
        for (int k = 1;; ++k) {
            const Files3 before = snapshot(run);
            run.files.operations = 0;
            run.files.failAt = k;
            run.dialogs.messages.clear();
            run.boxes.answer = u"my answer";
            notes ? run.logic.saveAsNotesClicked() : run.logic.enterResponseClicked();
            run.files.failAt.reset();
            if (run.files.operations < k) {
                EXPECT_TRUE(run.boxes.answer.empty());
                break;
            }
            ++faultPoints;
            EXPECT_EQ(snapshot(run), before) << "fault at " << k;
            EXPECT_EQ(run.boxes.answer, u"my answer");
            EXPECT_TRUE(run.state().awaitingResponse);
            ASSERT_EQ(run.dialogs.messages.size(), 1u);
            EXPECT_NE(run.dialogs.messages[0].find(u"not recorded"), std::u16string::npos);
        }
        run.logic.nextQuestionClicked();
    }
    EXPECT_EQ(faultPoints, 2 + 3);
}

TEST(RecordingTest, AFolderInPlaceOfTheSendFileIsReportedAndTheMasterCopyTakenBack) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    run.logic.nextQuestionClicked();
    const std::string master = readBytes(run.state().masterFilePath);
    std::filesystem::remove(run.state().sendFilePath);
    std::filesystem::create_directory(run.state().sendFilePath);
    run.boxes.answer = u"kept";
    run.logic.enterResponseClicked();
    EXPECT_EQ(readBytes(run.state().masterFilePath), master);
    ASSERT_EQ(run.dialogs.messages.size(), 1u);
    EXPECT_NE(run.dialogs.messages[0].find(run.state().sendFilePath.u16string()), std::u16string::npos);
    EXPECT_EQ(run.boxes.answer, u"kept");

    // Once the folder is gone again the same answer goes through.
    std::filesystem::remove(run.state().sendFilePath);
    run.logic.enterResponseClicked();
    EXPECT_NE(readBytes(run.state().sendFilePath).find("kept"), std::string::npos);
}
