#include "support/LogicHarness.h"

#include <gtest/gtest.h>

using namespace kelvrast;
using kelvrast::testing::LogicHarness;
using kelvrast::testing::readBytes;
using kelvrast::testing::writeBytes;

TEST(ViewingTest, DisplaySendFilePutsALineBreakBeforeEveryLine) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    writeBytes(run.state().sendFilePath, "L1\r\nL2\r\n\xE9");
    run.boxes.question = u"Q";
    run.logic.displaySendFileClicked();
    EXPECT_EQ(run.boxes.question, u"Q\r\nL1\r\nL2\r\né");

    writeBytes(run.state().sendFilePath, "");
    run.logic.displaySendFileClicked();
    EXPECT_EQ(run.boxes.question, u"Q\r\nL1\r\nL2\r\né");
}

TEST(ViewingTest, DisplayNotesAppendsTheNotesFileLikeTheSendFileAndNothingElse) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    run.logic.nextQuestionClicked();
    run.boxes.answer = u"X";
    run.logic.enterResponseClicked();
    writeBytes(run.state().notesFilePath, "A\r\nB\r\nC\r\n");
    run.logic.displayNotesClicked();
    EXPECT_EQ(run.boxes.question, u"\r\nA\r\nB\r\nC");
    run.logic.displayNotesClicked();
    EXPECT_EQ(run.boxes.question, u"\r\nA\r\nB\r\nC\r\nA\r\nB\r\nC");
}

// An editor or a failing disk can leave a NUL byte in a file. Windows' boxes end their text at the first one, so
// both commands show it as a visible mark, and everything after it too; the file stays as it is.
TEST(ViewingTest, ANulByteShowsAsAMarkAndTheRestOfTheFileStillShows) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    const std::string withNul("before\0after\r\nlast line", 23);
    for (const auto& file : {run.state().sendFilePath, run.state().notesFilePath}) {
        writeBytes(file, withNul);
        run.boxes.question = u"Q";
        if (file == run.state().sendFilePath)
            run.logic.displaySendFileClicked();
        else
            run.logic.displayNotesClicked();
        EXPECT_EQ(run.boxes.question, u"Q\r\nbefore\u2400after\r\nlast line") << file;
        EXPECT_EQ(readBytes(file), withNul);
    }
}

TEST(ViewingTest, DisplayNotesWithoutNotesSaysSoAndChangesNothing) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    run.boxes.question = u"kept";
    run.logic.displayNotesClicked();
    EXPECT_EQ(run.boxes.question, u"kept");
    EXPECT_EQ(run.dialogs.messages, std::vector<std::u16string>{u"No notes have been saved yet."});
    EXPECT_FALSE(run.programEnd.exitStatus);
}

TEST(ViewingTest, AFileThatCannotBeReadIsReportedAndTheProgramGoesOn) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    std::filesystem::remove(run.state().sendFilePath);
    run.boxes.question = u"kept";
    run.logic.displaySendFileClicked();
    EXPECT_EQ(run.boxes.question, u"kept");
    ASSERT_EQ(run.dialogs.messages.size(), 1u);
    EXPECT_NE(run.dialogs.messages[0].find(u"could not be shown"), std::u16string::npos);

    std::filesystem::create_directory(run.state().notesFilePath);
    run.logic.displayNotesClicked();
    EXPECT_EQ(run.boxes.question, u"kept");
    EXPECT_EQ(run.dialogs.messages.size(), 2u);
    EXPECT_FALSE(run.programEnd.exitStatus);
}

TEST(ViewingTest, ClearEmptiesTheAnswerBoxUndoablyAndKeepsTheAnswerDue) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    run.logic.nextQuestionClicked();
    run.boxes.answer = u"draft";
    run.logic.clearClicked();
    EXPECT_TRUE(run.boxes.answer.empty());
    EXPECT_EQ(run.boxes.undoneAnswer, u"draft");
    EXPECT_TRUE(run.state().awaitingResponse);
}

TEST(ViewingTest, QuitEndsTheProgramAndWritesNothing) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    const std::string send = readBytes(run.state().sendFilePath);
    run.logic.quitClicked();
    EXPECT_EQ(run.programEnd.exitStatus, 0);
    EXPECT_EQ(readBytes(run.state().sendFilePath), send);
}
