#include "WindowUnderTest.h"

#include <QPlainTextEdit>

#include <vector>

namespace kelvrast::testing {
namespace {

// Every tab stop in the order Tab visits them, starting from the Question box.
const std::vector<QString> tabStops = {
    "txt_question",
    "txt_answer",
    "cmdNextQuestion",
    "cmd_enter_response",
    "Picture1",
    "Picture2",
    "opt_stop_at_periods",
    "op_stop_at_paragraphs",
    "cmd_save_as_notes",
    "cmd_Make_Paragraph_question",
    "cmd_timerTrigger",
    "List1",
    "txt_parameter_0",
    "txt_parameter_1",
    "txt_parameter_2",
    "txt_parameter_3",
    "cmd_displayCumulativeText",
    "cmd_display_note_file",
    "cmd_quit",
    "cmd_pend_exp",
    "cmd_clear",
};

// Presses the key on whatever holds the focus, as the keyboard would, and tells where the focus went.
QString pressOnFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return QStringLiteral("(none)");
    QTest::keyClick(focus, key, modifiers);
    return focusName();
}

std::vector<std::string> names(const std::vector<QString>& list) {
    std::vector<std::string> result;
    for (const QString& name : list)
        result.push_back(name.toStdString());
    return result;
}

class TabOrder : public ::testing::Test {
protected:
    void SetUp() override {
        run.showActive();
        run.control("txt_question")->setFocus();
        ASSERT_EQ(focusName(), QStringLiteral("txt_question"));
    }

    WindowUnderTest run;
};

TEST_F(TabOrder, TabVisitsEveryStopInOrderAndComesBackToTheQuestionBox) {
    std::vector<QString> visited = {focusName()};
    for (std::size_t i = 0; i < tabStops.size(); ++i)
        visited.push_back(pressOnFocus(Qt::Key_Tab));

    std::vector<QString> expected = tabStops;
    expected.push_back(QStringLiteral("txt_question"));
    EXPECT_EQ(names(visited), names(expected));
}

TEST_F(TabOrder, ShiftTabGoesTheOtherWay) {
    std::vector<QString> visited = {focusName()};
    for (std::size_t i = 0; i < tabStops.size(); ++i)
        visited.push_back(pressOnFocus(Qt::Key_Backtab, Qt::ShiftModifier));

    std::vector<QString> expected = {QStringLiteral("txt_question")};
    expected.insert(expected.end(), tabStops.rbegin(), tabStops.rend());
    EXPECT_EQ(names(visited), names(expected));
}

TEST_F(TabOrder, TabInALargeBoxMovesOnAndTypesNothing) {
    auto* question = run.control<QPlainTextEdit>("txt_question");
    auto* answer = run.control<QPlainTextEdit>("txt_answer");
    QTest::keyClicks(question, QStringLiteral("ab"));
    EXPECT_EQ(pressOnFocus(Qt::Key_Tab), QStringLiteral("txt_answer"));
    QTest::keyClicks(answer, QStringLiteral("cd"));
    EXPECT_EQ(pressOnFocus(Qt::Key_Backtab, Qt::ShiftModifier), QStringLiteral("txt_question"));

    EXPECT_EQ(question->toPlainText(), QStringLiteral("ab"));
    EXPECT_EQ(answer->toPlainText(), QStringLiteral("cd"));
}

} // namespace
} // namespace kelvrast::testing
