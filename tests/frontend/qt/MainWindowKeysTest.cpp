#include "WindowUnderTest.h"
#include "support/FocusTour.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace kelvrast::testing {
namespace {

enum class Effect {
    none,         // nothing changes, the focus stays
    newLine,      // a large box gains a line break; elsewhere nothing changes
    nextStop,     // the focus moves on in the tab order
    previousStop, // the focus moves back
};

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    Effect effect;
};

const std::vector<KeyCase> keyCases{
    {"Escape", Qt::Key_Escape, Qt::NoModifier, Effect::none},
    {"Return", Qt::Key_Return, Qt::NoModifier, Effect::newLine},
    {"Enter", Qt::Key_Enter, Qt::KeypadModifier, Effect::newLine},
    {"F1", Qt::Key_F1, Qt::NoModifier, Effect::none},
    {"F10", Qt::Key_F10, Qt::NoModifier, Effect::none},
    {"AltAlone", Qt::Key_Alt, Qt::AltModifier, Effect::none},
    {"CtrlW", Qt::Key_W, Qt::ControlModifier, Effect::none},
    {"CtrlQ", Qt::Key_Q, Qt::ControlModifier, Effect::none},
    {"CtrlF4", Qt::Key_F4, Qt::ControlModifier, Effect::none},
    {"Tab", Qt::Key_Tab, Qt::NoModifier, Effect::nextStop},
    {"ShiftTab", Qt::Key_Backtab, Qt::ShiftModifier, Effect::previousStop},
};

// A failing case names its key.
void PrintTo(const KeyCase& key, std::ostream* out) {
    *out << key.name;
}

QString textOf(QWidget* box) {
    if (auto* large = qobject_cast<QPlainTextEdit*>(box))
        return large->toPlainText();
    return qobject_cast<QLineEdit*>(box)->text();
}

class MainWindowKeys : public ::testing::TestWithParam<std::tuple<std::string, KeyCase>> {};

// Each key in each kind of control, with text in every box: the program goes on, and no box loses what it held.
// (The frame's close, Alt+F4, is the window manager's, and reaches the window as a close event.)
TEST_P(MainWindowKeys, NoKeyEndsTheProgramNorTakesTextFromABox) {
    const auto& [focused, key] = GetParam();
    WindowUnderTest run;
    run.dialogs.inputs.push_back(u"Ann Lee");
    ASSERT_TRUE(run.window.load().ok());
    run.showActive();

    std::map<std::string, QString> before;
    for (const form::Control& each : form::controls()) {
        if (each.kind != form::Kind::textBox)
            continue;
        const QString text = QStringLiteral("typed in ") + QString::fromStdString(each.objectName());
        QWidget* box = run.control(each);
        if (auto* large = qobject_cast<QPlainTextEdit*>(box)) {
            large->setPlainText(text);
            large->moveCursor(QTextCursor::End);
        } else {
            qobject_cast<QLineEdit*>(box)->setText(text);
        }
        before[each.objectName()] = text;
    }
    run.control(focused.c_str())->setFocus();
    ASSERT_EQ(focusName().toStdString(), focused);

    QTest::keyClick(QApplication::focusWidget(), key.key, key.modifiers);

    EXPECT_FALSE(run.programEnd.exitStatus.has_value()) << "the program ended";
    EXPECT_TRUE(run.window.isVisible());
    EXPECT_TRUE(run.dialogs.messages.empty());
    for (const auto& [name, text] : before) {
        const bool typesHere = key.effect == Effect::newLine && name == focused && name.rfind("txt_parameter", 0) != 0;
        EXPECT_EQ(textOf(run.control(name.c_str())).toStdString(), (typesHere ? text + u'\n' : text).toStdString())
            << name;
    }
    const std::string expectedFocus = key.effect == Effect::nextStop       ? tabStopBeside(focused, false)
                                      : key.effect == Effect::previousStop ? tabStopBeside(focused, true)
                                                                           : focused;
    EXPECT_EQ(focusName().toStdString(), expectedFocus);
}

INSTANTIATE_TEST_SUITE_P(EveryKeyInEveryKindOfControl, MainWindowKeys,
                         ::testing::Combine(::testing::ValuesIn(oneControlOfEachFocusedKind),
                                            ::testing::ValuesIn(keyCases)),
                         [](const auto& info) { return std::get<0>(info.param) + "_" + std::get<1>(info.param).name; });

} // namespace
} // namespace kelvrast::testing
