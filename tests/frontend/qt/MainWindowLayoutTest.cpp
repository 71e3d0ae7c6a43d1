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

#include <algorithm>
#include <string>
#include <vector>

namespace kelvrast::testing {
namespace {

// The Qt class that shows a control of the form.
std::string qtClassFor(const form::Control& control) {
    switch (control.kind) {
    case form::Kind::commandButton:
        return "kelvrast::CommandButton";
    case form::Kind::textBox:
        return control.multiLine ? "kelvrast::LargeTextBox" : "QLineEdit";
    case form::Kind::listBox:
        return "QListWidget";
    case form::Kind::optionButton:
        return "kelvrast::OptionButton";
    case form::Kind::pictureBox:
        return "kelvrast::PictureBoxWidget";
    case form::Kind::label:
        return "QLabel";
    case form::Kind::timer:
        break;
    }
    return "(no widget)";
}

std::vector<form::Control> controlsOf(bool (*wanted)(const form::Control&)) {
    std::vector<form::Control> found;
    for (const form::Control& each : form::controls())
        if (wanted(each))
            found.push_back(each);
    return found;
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

class ControlLayout : public ::testing::TestWithParam<form::Control> {};

TEST_P(ControlLayout, HasItsKindCaptionAndPlace) {
    const form::Control& row = GetParam();
    WindowUnderTest run;
    QWidget* control = run.control(row);
    ASSERT_TRUE(control);

    EXPECT_EQ(control->metaObject()->className(), qtClassFor(row));
    EXPECT_EQ(shownText(control).toStdString(), toQString(row.caption).toStdString());
    EXPECT_EQ(control->geometry(), pixels(row.place));
    EXPECT_TRUE(control->isEnabled());
    EXPECT_FALSE(control->isHidden());
    EXPECT_EQ(control->parentWidget(), &run.window);
    EXPECT_FALSE(control->accessibleName().isEmpty());
    if (auto* list = qobject_cast<QListWidget*>(control)) {
        EXPECT_EQ(list->count(), 0);
    }
    // A label of a group names the box it stands by, as a screen reader says that box's name.
    if (auto* label = qobject_cast<QLabel*>(control); label && row.index) {
        ASSERT_TRUE(label->buddy());
        EXPECT_EQ(label->buddy()->accessibleName().toStdString(), label->text().toStdString());
    }
}

INSTANTIATE_TEST_SUITE_P(EveryControl, ControlLayout, ::testing::ValuesIn(placedControls()),
                         [](const auto& info) { return info.param.objectName(); });

TEST(MainWindowLayout, HoldsExactlyTheControlsOfItsLayout) {
    WindowUnderTest run;
    std::vector<std::string> expected;
    for (const form::Control& row : placedControls())
        expected.push_back(row.objectName());
    std::vector<std::string> actual;
    for (QWidget* child : run.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        actual.push_back(child->objectName().toStdString());
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    EXPECT_EQ(actual, expected);
}

// Of two controls that overlap, the one later in the form lies on top.
TEST(MainWindowLayout, LaterControlsLieOnTopOfEarlierOnes) {
    WindowUnderTest run;
    run.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.window));
    int overlaps = 0;
    const std::vector<form::Control> placed = placedControls();
    for (std::size_t lower = 0; lower < placed.size(); ++lower) {
        for (std::size_t upper = lower + 1; upper < placed.size(); ++upper) {
            const QRect shared = pixels(placed[lower].place) & pixels(placed[upper].place);
            if (shared.isEmpty())
                continue;
            ++overlaps;
            EXPECT_EQ(run.window.childAt(shared.center()), run.control(placed[upper]))
                << placed[upper].objectName() << " over " << placed[lower].objectName();
        }
    }
    EXPECT_GT(overlaps, 0);
}

TEST(MainWindowLayout, TimerTicksAtThePendulumsRateButIsStopped) {
    WindowUnderTest run;
    for (const form::Control& row : controlsOf([](const form::Control& c) { return c.kind == form::Kind::timer; })) {
        auto* timer = run.window.findChild<QTimer*>(QString::fromStdString(row.objectName()));
        ASSERT_TRUE(timer) << row.objectName();
        EXPECT_EQ(timer->interval(), form::pendulumTimerMilliseconds);
        EXPECT_FALSE(timer->isActive());
    }
}

TEST(MainWindowLayout, IsForm1WithTheFormsClientArea) {
    WindowUnderTest run;
    EXPECT_EQ(run.window.objectName().toStdString(), form::windowObjectName);
    EXPECT_EQ(run.window.windowTitle(), toQString(form::windowTitle));
    run.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.window));
    EXPECT_EQ(run.window.size(), clientSize());
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
        for (const form::Control& row : placedControls())
            EXPECT_EQ(run.control(row)->geometry(), pixels(row.place)) << row.objectName() << " at " << size.width();
    }
}

bool isLargeBox(const form::Control& control) {
    return control.kind == form::Kind::textBox && control.multiLine;
}

// The two large boxes have Arial 9.75 of their own; every other control shows the window's dialog font.
TEST(MainWindowLayout, LargeBoxesUseArialOf9Point75NormalWeight) {
    WindowUnderTest run;
    int arialControls = 0;
    for (const form::Control& row : placedControls()) {
        SCOPED_TRACE(row.objectName());
        const QFont font = run.control(row)->font();
        if (row.font == form::Font::dialog) {
            EXPECT_EQ(font, run.window.font());
            continue;
        }
        ++arialControls;
        EXPECT_EQ(font.family(), QStringLiteral("Arial"));
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.75);
        EXPECT_EQ(font.weight(), QFont::Normal);
        EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
        const QString resolved = QFontInfo(font).family();
        EXPECT_TRUE(resolved == QStringLiteral("Arial") || resolved == QStringLiteral("Liberation Sans"))
            << resolved.toStdString();
    }
    EXPECT_GT(arialControls, 0);
}

// Buttons wrap their captions; only the narrow ones and the low pend exp button are too small for theirs.
TEST(MainWindowLayout, CaptionsFitTheirControls) {
    WindowUnderTest run;
    for (QPushButton* button : run.window.findChildren<QPushButton*>()) {
        const QString name = button->objectName();
        if (form::control(name.toStdString()).narrow || name == "cmd_pend_exp")
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
    const std::vector<form::Control> large = controlsOf(isLargeBox);
    ASSERT_FALSE(large.empty());
    for (const form::Control& row : large) {
        SCOPED_TRACE(row.objectName());
        auto* box = run.control<QPlainTextEdit>(row);
        ASSERT_TRUE(box);
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

// Only a control far narrower than its caption has a tooltip, and it shows the whole caption.
TEST(MainWindowLayout, NarrowButtonsShowTheirWholeCaptionAsTooltip) {
    WindowUnderTest run;
    int narrow = 0;
    for (const form::Control& row : placedControls()) {
        narrow += row.narrow;
        EXPECT_EQ(run.control(row)->toolTip(), row.narrow ? toQString(row.caption) : QString()) << row.objectName();
    }
    EXPECT_GT(narrow, 0);
}

TEST(MainWindowLayout, OptionButtonsStartClearAndExcludeEachOther) {
    WindowUnderTest run;
    run.showActive();
    std::vector<QRadioButton*> options;
    for (const form::Control& row :
         controlsOf([](const form::Control& c) { return c.kind == form::Kind::optionButton; }))
        options.push_back(run.control<QRadioButton>(row));
    ASSERT_GE(options.size(), 2u);
    for (QRadioButton* option : options)
        EXPECT_FALSE(option->isChecked()) << option->objectName().toStdString();

    for (QRadioButton* clicked : options) {
        QTest::mouseClick(clicked, Qt::LeftButton);
        for (QRadioButton* option : options)
            EXPECT_EQ(option->isChecked(), option == clicked)
                << option->objectName().toStdString() << " after a click on " << clicked->objectName().toStdString();
    }
}

TEST(MainWindowLayout, ParameterBoxesHaveNoLengthLimitOfTheirOwn) {
    WindowUnderTest run;
    const auto isLineBox = [](const form::Control& c) { return c.kind == form::Kind::textBox && !c.multiLine; };
    for (const form::Control& row : controlsOf(isLineBox)) {
        auto* box = run.control<QLineEdit>(row);
        ASSERT_TRUE(box);
        box->end(false);
        box->insert(QString(40000, QLatin1Char('7')));
        EXPECT_EQ(box->text().size(), toQString(row.caption).size() + 40000) << row.objectName();
    }
}

TEST(MainWindowLayout, PictureBoxesShowWhite) {
    WindowUnderTest run;
    run.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.window));
    for (const form::Control& row :
         controlsOf([](const form::Control& c) { return c.kind == form::Kind::pictureBox; })) {
        QWidget* box = run.control(row);
        const QImage shown = box->grab().toImage();
        EXPECT_EQ(shown.pixelColor(shown.rect().center()), QColor(QRgb(form::pictureBoxRgb))) << row.objectName();
    }
}

} // namespace
} // namespace kelvrast::testing
