#include "WindowUnderTest.h"

#include <QPlainTextEdit>

#include <vector>

namespace kelvrast::testing {
namespace {

// Every tab stop in the order Tab visits them, starting from the first, the Question box.
std::vector<QString> tabStopsOfTheForm() {
    std::vector<QString> stops;
    for (const form::Control* each : form::tabOrder())
        stops.push_back(QString::fromStdString(each->objectName()));
    return stops;
}

const std::vector<QString> tabStops = tabStopsOfTheForm();

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
        ASSERT_FALSE(tabStops.empty());
        run.control(tabStops.front().toStdString().c_str())->setFocus();
        ASSERT_EQ(focusName(), tabStops.front());
    }

    WindowUnderTest run;
};

TEST_F(TabOrder, TabVisitsEveryStopInOrderAndComesBackToTheQuestionBox) {
    std::vector<QString> visited = {focusName()};
    for (std::size_t i = 0; i < tabStops.size(); ++i)
        visited.push_back(pressOnFocus(Qt::Key_Tab));

    std::vector<QString> expected = tabStops;
    expected.push_back(tabStops.front());
    EXPECT_EQ(names(visited), names(expected));
}

TEST_F(TabOrder, ShiftTabGoesTheOtherWay) {
    std::vector<QString> visited = {focusName()};
    for (std::size_t i = 0; i < tabStops.size(); ++i)
        visited.push_back(pressOnFocus(Qt::Key_Backtab, Qt::ShiftModifier));

    std::vector<QString> expected = {tabStops.front()};
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
