#include "WindowUnderTest.h"
#include "frontend/qt/PictureBoxWidget.h"

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>

#include <set>
#include <string>

namespace kelvrast::testing {
namespace {

// One control as the window's layout gives it: kind, caption or initial text, and position and size in twips.
struct ControlRow {
    const char* name;
    const char* kind;
    const char* caption;
    int left, top, width, height;
};

void PrintTo(const ControlRow& row, std::ostream* out) {
    *out << row.name;
}

const ControlRow controlRows[] = {
    {"cmd_clear", "kelvrast::CommandButton", "Clear", 7320, 240, 855, 495},
    {"cmd_pend_exp", "kelvrast::CommandButton", "pend exp", 8640, 7560, 495, 375},
    {"cmd_quit", "kelvrast::CommandButton", "quit program", 9720, 240, 735, 495},
    {"cmd_display_note_file", "kelvrast::CommandButton", "display notes", 2040, 240, 135, 495},
    {"cmd_displayCumulativeText", "kelvrast::CommandButton", "display SEND file", 4440, 240, 855, 495},
    {"txt_parameter_3", "QLineEdit", "1", 8205, 8160, 300, 285},
    {"txt_parameter_2", "QLineEdit", "1", 8205, 7680, 300, 285},
    {"txt_parameter_1", "QLineEdit", "1", 6720, 8160, 300, 285},
    {"txt_parameter_0", "QLineEdit", "1", 6720, 7680, 300, 285},
    {"List1", "QListWidget", "", 3120, 7680, 1695, 840},
    {"cmd_timerTrigger", "kelvrast::CommandButton", "Trigger Timer", 2280, 7800, 735, 495},
    {"cmd_Make_Paragraph_question", "kelvrast::CommandButton", "Make Paragraph", 1920, 240, 135, 495},
    {"cmd_save_as_notes", "kelvrast::CommandButton", "Save as Notes", 6480, 240, 855, 495},
    {"op_stop_at_paragraphs", "kelvrast::OptionButton", "Stop at Paragraphs", 240, 8040, 1935, 255},
    {"opt_stop_at_periods", "kelvrast::OptionButton", "Stop at Sentences", 240, 7800, 1815, 195},
    {"Picture2", "kelvrast::PictureBoxWidget", "", 5640, 6000, 5055, 1455},
    {"Picture1", "kelvrast::PictureBoxWidget", "", 240, 6000, 5175, 1455},
    {"cmd_enter_response", "kelvrast::CommandButton", "Enter Response", 5640, 240, 855, 495},
    {"cmdNextQuestion", "kelvrast::CommandButton", "Next Question / Answer", 240, 0, 975, 735},
    {"txt_answer", "QPlainTextEdit", "", 5640, 720, 5055, 5055},
    {"txt_question", "QPlainTextEdit", "", 240, 720, 5175, 5055},
    {"lbl_parameter_3", "QLabel", "Parameter 4", 7200, 8160, 900, 195},
    {"lbl_parameter_2", "QLabel", "Parameter 3", 7200, 7680, 1005, 195},
    {"lbl_parameter_1", "QLabel", "Parameter 2", 5640, 8160, 855, 195},
    {"lbl_parameter_0", "QLabel", "Parameter 1", 5640, 7680, 900, 195},
};

QRect pixels(const ControlRow& row) {
    return QRect(row.left / 15, row.top / 15, row.width / 15, row.height / 15);
}

// What the control shows: its caption, or the text it starts with.
QString shownText(QWidget* control) {
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* line = qobject_cast<QLineEdit*>(control))
        return line->text();
    if (auto* box = qobject_cast<QPlainTextEdit*>(control))
        return box->toPlainText();
    return {};
}

class ControlLayout : public ::testing::TestWithParam<ControlRow> {};

TEST_P(ControlLayout, HasItsKindCaptionAndPlace) {
    const ControlRow& row = GetParam();
    WindowUnderTest run;
    QWidget* control = run.control(row.name);
    ASSERT_TRUE(control);

    EXPECT_STREQ(control->metaObject()->className(), row.kind);
    EXPECT_EQ(shownText(control).toStdString(), row.caption);
    EXPECT_EQ(control->geometry(), pixels(row));
    EXPECT_TRUE(control->isEnabled());
    EXPECT_FALSE(control->isHidden());
    EXPECT_EQ(control->parentWidget(), &run.window);
    EXPECT_FALSE(control->accessibleName().isEmpty());
    if (auto* list = qobject_cast<QListWidget*>(control)) {
        EXPECT_EQ(list->count(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryControl, ControlLayout, ::testing::ValuesIn(controlRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MainWindowLayout, HoldsExactlyTheControlsOfItsLayout) {
    WindowUnderTest run;
    std::set<std::string> expected;
    for (const ControlRow& row : controlRows)
        expected.insert(row.name);
    std::set<std::string> actual;
    for (QWidget* child : run.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        actual.insert(child->objectName().toStdString());
    EXPECT_EQ(actual, expected);
}

TEST(MainWindowLayout, TimerTicksEvery15MillisecondsButIsStopped) {
    WindowUnderTest run;
    auto* timer = run.window.findChild<QTimer*>(QStringLiteral("tmr_pend_exp"));
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer->interval(), 15);
    EXPECT_FALSE(timer->isActive());
}

TEST(MainWindowLayout, IsForm1With725By573PixelsOfClientArea) {
    WindowUnderTest run;
    EXPECT_EQ(run.window.objectName(), QStringLiteral("cmd_pend_exp"));
    EXPECT_EQ(run.window.windowTitle(), QStringLiteral("Form1"));
    run.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.window));
    EXPECT_EQ(run.window.size(), QSize(725, 573));
    for (QWidget* child : run.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(run.window.rect().contains(child->geometry())) << child->objectName().toStdString();
}

TEST(MainWindowLayout, ControlsStayInPlaceWhenTheWindowIsResized) {
    WindowUnderTest run;
    run.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.window));
    for (QSize size : {QSize(1000, 800), QSize(300, 200)}) {
        run.window.resize(size);
        QCoreApplication::processEvents();
        for (const ControlRow& row : controlRows)
            EXPECT_EQ(run.control(row.name)->geometry(), pixels(row)) << row.name << " at " << size.width();
    }
}

TEST(MainWindowLayout, LargeBoxesUseArialOf9Point75NormalWeight) {
    WindowUnderTest run;
    for (const char* name : {"txt_question", "txt_answer"}) {
        SCOPED_TRACE(name);
        const QFont font = run.control(name)->font();
        EXPECT_EQ(font.family(), QStringLiteral("Arial"));
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.75);
        EXPECT_EQ(font.weight(), QFont::Normal);
        EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
        const QString resolved = QFontInfo(font).family();
        EXPECT_TRUE(resolved == QStringLiteral("Arial") || resolved == QStringLiteral("Liberation Sans"))
            << resolved.toStdString();
    }
}

// Buttons wrap their captions; only the two slivers and the low pend exp button are too small for theirs.
TEST(MainWindowLayout, CaptionsFitTheirControls) {
    WindowUnderTest run;
    for (QPushButton* button : run.window.findChildren<QPushButton*>()) {
        const QString name = button->objectName();
        if (name == "cmd_display_note_file" || name == "cmd_Make_Paragraph_question" || name == "cmd_pend_exp")
            continue;
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QRect needed =
            button->fontMetrics().boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, button->text());
        EXPECT_TRUE(area.contains(needed))
            << name.toStdString() << " needs " << needed.width() << "x" << needed.height();
    }
    for (QLabel* label : run.window.findChildren<QLabel*>())
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->objectName().toStdString();
    for (QRadioButton* option : run.window.findChildren<QRadioButton*>())
        EXPECT_LE(option->sizeHint().width(), option->width()) << option->objectName().toStdString();
}

TEST(MainWindowLayout, LongTextWrapsAndScrollsOnlyVertically) {
    WindowUnderTest run;
    run.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.window));
    for (const char* name : {"txt_question", "txt_answer"}) {
        SCOPED_TRACE(name);
        auto* box = run.control<QPlainTextEdit>(name);
        box->setPlainText(QString(QStringLiteral("wrapping words ")).repeated(300) + QString(500, QLatin1Char('x')));
        QCoreApplication::processEvents();
        EXPECT_TRUE(box->verticalScrollBar()->isVisible());
        EXPECT_GT(box->verticalScrollBar()->maximum(), 0);
        EXPECT_FALSE(box->horizontalScrollBar()->isVisible());
        EXPECT_EQ(box->horizontalScrollBar()->maximum(), 0);
    }
}

TEST(MainWindowLayout, NoButtonAnswersEnterOnItsOwn) {
    WindowUnderTest run;
    for (QPushButton* button : run.window.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
}

TEST(MainWindowLayout, NarrowButtonsShowTheirWholeCaptionAsTooltip) {
    WindowUnderTest run;
    EXPECT_EQ(run.control("cmd_display_note_file")->toolTip(), QStringLiteral("display notes"));
    EXPECT_EQ(run.control("cmd_Make_Paragraph_question")->toolTip(), QStringLiteral("Make Paragraph"));
}

TEST(MainWindowLayout, OptionButtonsStartClearAndExcludeEachOther) {
    WindowUnderTest run;
    run.showActive();
    auto* sentences = run.control<QRadioButton>("opt_stop_at_periods");
    auto* paragraphs = run.control<QRadioButton>("op_stop_at_paragraphs");
    EXPECT_FALSE(sentences->isChecked());
    EXPECT_FALSE(paragraphs->isChecked());

    QTest::mouseClick(sentences, Qt::LeftButton);
    EXPECT_TRUE(sentences->isChecked());
    QTest::mouseClick(paragraphs, Qt::LeftButton);
    EXPECT_TRUE(paragraphs->isChecked());
    EXPECT_FALSE(sentences->isChecked());
}

TEST(MainWindowLayout, ParameterBoxesHaveNoLengthLimitOfTheirOwn) {
    WindowUnderTest run;
    for (const char* name : {"txt_parameter_0", "txt_parameter_1", "txt_parameter_2", "txt_parameter_3"}) {
        auto* box = run.control<QLineEdit>(name);
        box->end(false);
        box->insert(QString(40000, QLatin1Char('7')));
        EXPECT_EQ(box->text().size(), 40001) << name;
    }
}

TEST(MainWindowLayout, PictureBoxesShowWhite) {
    WindowUnderTest run;
    run.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.window));
    for (const char* name : {"Picture1", "Picture2"}) {
        QWidget* box = run.control(name);
        const QImage shown = box->grab().toImage();
        EXPECT_EQ(shown.pixelColor(shown.rect().center()), QColor(Qt::white)) << name;
    }
}

} // namespace
} // namespace kelvrast::testing
