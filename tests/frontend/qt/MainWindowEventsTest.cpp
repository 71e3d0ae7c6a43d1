#include "WindowUnderTest.h"
#include "flow/MainWindowLogic.h"
#include "support/LogicState.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace kelvrast::testing {
namespace {

void click(QWidget* button) {
    ASSERT_TRUE(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

TEST(MainWindowEvents, AfterStartUpTheFocusWaitsInTheQuestionBox) {
    WindowUnderTest run;
    run.dialogs.inputs = {u"Ann Lee"};
    ASSERT_TRUE(run.window.load().ok());
    run.showActive();
    EXPECT_EQ(focusName(), QStringLiteral("txt_question"));
}

TEST(MainWindowEvents, ClearEmptiesTheAnswerBox) {
    WindowUnderTest run;
    run.showActive();
    auto* answer = run.control<QPlainTextEdit>("txt_answer");
    QTest::keyClicks(answer, QStringLiteral("half an answer"));
    click(run.control("cmd_clear"));
    EXPECT_EQ(answer->toPlainText(), QString());
}

TEST(MainWindowEvents, QuitProgramEndsTheProgram) {
    WindowUnderTest run;
    run.showActive();
    click(run.control("cmd_quit"));
    EXPECT_TRUE(run.programEnd.exitStatus.has_value());
}

// Each display button shows its own file, after what the Question box held.
TEST(MainWindowEvents, DisplayButtonsAppendTheirOwnFileToTheQuestionBox) {
    struct Case {
        const char* button;
        QString shown;
        QString notShown;
    };
    for (const Case& row : {Case{"cmd_displayCumulativeText", "SENDLINE", "NOTELINE"},
                            Case{"cmd_display_note_file", "NOTELINE", "SENDLINE"}}) {
        SCOPED_TRACE(row.button);
        WindowUnderTest run;
        run.showActive();
        MainWindowState& state = LogicState::of(run.window.logic());
        state.sendFilePath = run.folder.path() / "send.txt";
        state.notesFilePath = run.folder.path() / "notes.txt";
        writeBytes(state.sendFilePath, "SENDLINE\r\n");
        writeBytes(state.notesFilePath, "NOTELINE\r\n");
        auto* question = run.control<QPlainTextEdit>("txt_question");
        question->setPlainText(QStringLiteral("Q"));

        click(run.control(row.button));
        EXPECT_TRUE(question->toPlainText().startsWith(QStringLiteral("Q")));
        EXPECT_TRUE(question->toPlainText().contains(row.shown));
        EXPECT_FALSE(question->toPlainText().contains(row.notShown));
    }
}

TEST(MainWindowEvents, TriggerTimerMakeParagraphAndTheOptionsChangeNothingElse) {
    WindowUnderTest run;
    run.dialogs.inputs = {u"Ann Lee"};
    ASSERT_TRUE(run.window.load().ok());
    run.showActive();
    auto* question = run.control<QPlainTextEdit>("txt_question");
    auto* answer = run.control<QPlainTextEdit>("txt_answer");
    answer->setPlainText(QStringLiteral("typed"));
    const MainWindowState before = run.window.logic().state();

    for (const char* name :
         {"cmd_timerTrigger", "cmd_Make_Paragraph_question", "opt_stop_at_periods", "op_stop_at_paragraphs"})
        click(run.control(name));

    EXPECT_FALSE(run.window.findChild<QTimer*>(QStringLiteral("tmr_pend_exp"))->isActive());
    EXPECT_EQ(question->toPlainText(), QString());
    EXPECT_EQ(answer->toPlainText(), QStringLiteral("typed"));
    EXPECT_EQ(run.window.logic().state().bankIndex, before.bankIndex);
    EXPECT_EQ(run.window.logic().state().textBuffer, before.textBuffer);
    EXPECT_FALSE(run.programEnd.exitStatus.has_value());
    EXPECT_TRUE(run.dialogs.messages.empty());
}

} // namespace
} // namespace kelvrast::testing
