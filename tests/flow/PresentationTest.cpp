#include "flow/Presentation.h"
#include "support/LogicHarness.h"
#include "support/LogicState.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

using namespace kelvrast;
using kelvrast::testing::LogicHarness;
using kelvrast::testing::LogicState;

namespace {

std::string shown(const LogicHarness& run) {
    return codepage::fromUnicode(run.boxes.question).bytes;
}

// Steps once through the bank and records "OK" for the entry shown.
void answerOk(LogicHarness& run) {
    run.logic.nextQuestionClicked();
    run.boxes.answer = u"OK";
    run.logic.enterResponseClicked();
}

} // namespace

TEST(PresentationTest, WalksTheWholeBankAndEndsWithTheClosingMessage) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Alpha Beta Gamma").ok());
    std::vector<std::string> opened;
    std::vector<std::string> numbers;
    while (!run.programEnd.exitStatus) {
        run.logic.nextQuestionClicked();
        if (run.programEnd.exitStatus)
            break;
        opened.push_back(shown(run).substr(0, 20));
        numbers.push_back(run.state().questionNumber);
        run.boxes.answer = u"OK";
        run.logic.enterResponseClicked();
        ASSERT_TRUE(run.boxes.question.empty());
    }
    ASSERT_EQ(opened.size(), 6u);
    EXPECT_TRUE(opened[0].starts_with("`q001.  Part 1"));
    EXPECT_TRUE(opened[1].starts_with("This program has"));
    EXPECT_TRUE(opened[2].starts_with("`q002.  Note"));
    EXPECT_TRUE(opened[3].starts_with("Any time the"));
    EXPECT_TRUE(opened[4].starts_with("`q003.  If you"));
    EXPECT_TRUE(opened[5].starts_with("Once more, locate"));
    EXPECT_EQ(numbers, (std::vector<std::string>{" 1", " 1", " 2", " 2", " 3", " 3"}));
    EXPECT_EQ(*run.programEnd.exitStatus, 0);
    ASSERT_EQ(run.dialogs.messages.size(), 1u);
    const std::u16string expected = u"You have answered the last question for the selected assignment.  When you "
                                    u"click OK the program will exit.  The contents of the file " +
                                    (run.folder() / u"send_0107Alpha_Beta_Gamma.txt").u16string() +
                                    u" should be submitted to the instructor.";
    EXPECT_EQ(run.dialogs.messages[0], expected);
    // The end entry is never shown and the entry before it stays current.
    EXPECT_TRUE(run.state().currentLine.starts_with("Once more"));
}

TEST(PresentationTest, WhileAnAnswerIsDueAClickOnlyPutsThePromptUndoably) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    run.logic.nextQuestionClicked();
    const std::u16string question = run.boxes.question;
    const int index = run.state().bankIndex;
    run.boxes.answer = u"half-typed answer";
    run.logic.nextQuestionClicked();
    EXPECT_EQ(run.boxes.question, question);
    EXPECT_EQ(run.state().bankIndex, index);
    EXPECT_EQ(run.boxes.answer, codepage::toUnicode(run.state().answerPrompt));
    EXPECT_EQ(run.boxes.undoneAnswer, u"half-typed answer");

    // Neither button records the untouched prompt.
    const auto sizeBefore = std::filesystem::file_size(run.state().sendFilePath);
    run.logic.enterResponseClicked();
    run.logic.saveAsNotesClicked();
    EXPECT_EQ(std::filesystem::file_size(run.state().sendFilePath), sizeBefore);
    EXPECT_TRUE(run.state().awaitingResponse);
}

TEST(PresentationTest, ReadsQuestionNumbersAndEndEntriesAsWritten) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    auto& state = LogicState::of(run.logic);
    auto& bank = state.questionBank;
    bank[2] = "`Q12 capital";
    bank[3] = "";
    bank[4] = "";
    bank[5] = "instruction";
    bank[6] = "`qabc letters";
    bank[7] = "End PROGRAM";
    answerOk(run);
    EXPECT_EQ(state.questionNumber, " 12");
    answerOk(run); // blank entries skipped within one click
    EXPECT_EQ(state.currentLine, "instruction");
    EXPECT_EQ(state.questionNumber, " 12");
    answerOk(run);
    EXPECT_EQ(state.questionNumber, " 0");
    run.logic.nextQuestionClicked();
    EXPECT_EQ(run.programEnd.exitStatus, 0);
}

TEST(PresentationTest, AnEntryThatIsExactlyTheNextAssignmentNumberEndsTheRunSilently) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    LogicState::of(run.logic).questionBank[2] = "002";
    run.logic.nextQuestionClicked();
    EXPECT_EQ(run.programEnd.exitStatus, 0);
    EXPECT_TRUE(run.dialogs.messages.empty());
    EXPECT_TRUE(run.boxes.question.empty());
}

TEST(PresentationTest, AppendsTheEntryToWhateverTheQuestionBoxHolds) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Ann").ok());
    run.boxes.question = u"π before\r\n";
    run.logic.nextQuestionClicked();
    EXPECT_TRUE(run.boxes.question.starts_with(u"π before\r\n`q001."));
    EXPECT_EQ(run.state().textBuffer, codepage::fromUnicode(run.boxes.question).bytes);
    EXPECT_TRUE(run.state().nextPiece.empty());
}

TEST(PresentationTest, TheClosingMessageNamesTheSendFileWhateverTheNamesCharacters) {
    const std::u16string opening = u"You have answered the last question for the selected assignment.  When you click "
                                   u"OK the program will exit.  The contents of the file ";
    const std::u16string closing = u" should be submitted to the instructor.";
    MainWindowState state;
#ifdef _WIN32
    // On Windows the message names the file exactly as the student finds it.
    state.folderPath = L"c:\\kelvrast";
    state.sendFilePath = state.folderPath / std::filesystem::path(u"send_0107\u738B\u82B3.txt");
    EXPECT_EQ(closingMessage(state), opening + u"c:\\kelvrast\\send_0107\u738B\u82B3.txt" + closing);
#else
    state.folderPath = std::filesystem::path(u"/home/\u738B\u82B3/kelvrast/");
    state.sendFilePath = state.folderPath / std::filesystem::path(u"send_0107Zo\u00EB_\U0001F600.txt");
    EXPECT_EQ(closingMessage(state),
              opening + u"/home/\u738B\u82B3/kelvrast/send_0107Zo\u00EB_\U0001F600.txt" + closing);

    // A folder named in some other encoding than the system's still gives the message, not an error.
    state.folderPath = "/home/Jos\xE9/kelvrast";
    state.sendFilePath = state.folderPath / "send_0107Ann.txt";
    EXPECT_EQ(closingMessage(state), opening + u"/home/Jos?/kelvrast/send_0107Ann.txt" + closing);
#endif
}
