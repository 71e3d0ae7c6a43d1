#include "WindowUnderTest.h"
#include "support/TempFolder.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace kelvrast::testing {
namespace {

void click(QWidget* button) {
    ASSERT_TRUE(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

struct StartedWindow : WindowUnderTest {
    QPlainTextEdit* question = nullptr;
    QPlainTextEdit* answer = nullptr;

    StartedWindow() {
        dialogs.inputs = {u"Ann Lee"};
        EXPECT_TRUE(window.load().ok());
        showActive();
        question = control<QPlainTextEdit>("txt_question");
        answer = control<QPlainTextEdit>("txt_answer");
    }
    std::filesystem::path file(const char* name) const { return folder.path() / "kelvrast" / name; }
};

TEST(MainWindowRecording, AClickTooEarlyPutsThePromptAndCtrlZBringsTheAnswerBack) {
    StartedWindow run;
    click(run.control("cmdNextQuestion"));
    EXPECT_TRUE(run.question->toPlainText().startsWith(QStringLiteral("`q001.")));

    QTest::keyClicks(run.answer, QStringLiteral("typed but not recorded"));
    click(run.control("cmdNextQuestion"));
    EXPECT_TRUE(run.answer->toPlainText().startsWith(QStringLiteral("Enter, as appropriate")));

    run.answer->setFocus();
    QTest::keyClick(run.answer, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(run.answer->toPlainText(), QStringLiteral("typed but not recorded"));
}

TEST(MainWindowRecording, EnterResponseAndSaveAsNotesRecordWhatWasTypedAndEmptyTheBoxes) {
    StartedWindow run;
    click(run.control("cmdNextQuestion"));
    QTest::keyClicks(run.answer, QStringLiteral("first"));
    QTest::keyClick(run.answer, Qt::Key_Return);
    QTest::keyClicks(run.answer, QStringLiteral("second\u00A0part"));
    click(run.control("cmd_enter_response"));
    EXPECT_TRUE(run.question->toPlainText().isEmpty());
    EXPECT_TRUE(run.answer->toPlainText().isEmpty());
    const std::string master = readBytes(run.file("masterFile_Ann_Lee.txt"));
    EXPECT_NE(master.find("RESPONSE -->  \r\nfirst\r\nsecond\xA0part\r\n"), std::string::npos);

    click(run.control("cmdNextQuestion"));
    QTest::keyClicks(run.answer, QStringLiteral("a note"));
    click(run.control("cmd_save_as_notes"));
    EXPECT_NE(readBytes(run.file("notes_Ann_Lee.txt")).find("NOTES -------> a note\r\n"), std::string::npos);
}

} // namespace
} // namespace kelvrast::testing
