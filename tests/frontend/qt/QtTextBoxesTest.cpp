#include "frontend/qt/QtTextBoxes.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <string>

namespace kelvrast {
namespace {

std::string utf8(const std::u16string& text) {
    return QString::fromStdU16String(text).toStdString();
}

class QtTextBoxesTest : public ::testing::Test {
protected:
    QPlainTextEdit question;
    QPlainTextEdit answer;
    QtTextBoxes boxes{question, answer};
};

TEST_F(QtTextBoxesTest, TextsComeBackAsTheyWereSet) {
    const std::u16string texts[] = {
        u"",         u"one line",      u"a\r\nb",    u"ends with a break\r\n",
        u"\r\n\r\n", u"no\u00A0break", u"tab\there", u"\u00E4\u00DF\u20AC \u201Cquoted\u201D",
    };
    for (const std::u16string& text : texts) {
        boxes.setQuestionText(text);
        boxes.setAnswerText(text);
        EXPECT_EQ(utf8(boxes.questionText()), utf8(text));
        EXPECT_EQ(utf8(boxes.answerText()), utf8(text));
    }
}

TEST_F(QtTextBoxesTest, EveryKindOfLineEndShowsAsANewLine) {
    boxes.setQuestionText(u"first\r\nsecond\rthird\nfourth");
    QStringList lines;
    for (QTextBlock block = question.document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    EXPECT_EQ(lines, QStringList({"first", "second", "third", "fourth"}));
    EXPECT_EQ(utf8(boxes.questionText()), "first\r\nsecond\r\nthird\r\nfourth");
}

TEST_F(QtTextBoxesTest, EnterAndShiftEnterReachTheProgramAsCrLf) {
    QTest::keyClicks(&answer, QStringLiteral("one"));
    QTest::keyClick(&answer, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(&answer, QStringLiteral("two"));
    QTest::keyClick(&answer, Qt::Key_Return);
    QTest::keyClicks(&answer, QStringLiteral("three"));
    QTest::keyClick(&answer, Qt::Key_Enter);
    EXPECT_EQ(utf8(boxes.answerText()), "one\r\ntwo\r\nthree\r\n");
}

TEST_F(QtTextBoxesTest, TypedNoBreakSpaceStaysOne) {
    QTest::keyClicks(&answer, QStringLiteral("10\u00A0kg"));
    EXPECT_EQ(boxes.answerText(), u"10\u00A0kg");
}

TEST_F(QtTextBoxesTest, UndoBringsBackWhatWasTypedBeforeAnUndoableReplacement) {
    QTest::keyClicks(&answer, QStringLiteral("my answer"));
    QTest::keyClick(&answer, Qt::Key_Return);
    QTest::keyClicks(&answer, QStringLiteral("more"));
    const std::u16string typed = boxes.answerText();

    boxes.replaceAnswerUndoably(u"the prompt\r\nin two lines");
    EXPECT_EQ(utf8(boxes.answerText()), "the prompt\r\nin two lines");

    QTest::keyClick(&answer, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(utf8(boxes.answerText()), utf8(typed));
}

TEST_F(QtTextBoxesTest, UndoableReplacementWithNothingEmptiesTheBox) {
    QTest::keyClicks(&answer, QStringLiteral("typed"));
    boxes.replaceAnswerUndoably(u"");
    EXPECT_EQ(boxes.answerText(), u"");
    QTest::keyClick(&answer, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(boxes.answerText(), u"typed");
}

TEST_F(QtTextBoxesTest, TheTwoBoxesAreKeptApart) {
    boxes.setQuestionText(u"question");
    boxes.setAnswerText(u"answer");
    EXPECT_EQ(question.toPlainText(), QStringLiteral("question"));
    EXPECT_EQ(answer.toPlainText(), QStringLiteral("answer"));
}

} // namespace
} // namespace kelvrast
