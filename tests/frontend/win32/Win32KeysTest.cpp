#include "Win32WindowUnderTest.h"
#include "support/FocusTour.h"

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
    closes,       // the frame's close: the logic hears windowClosed
};

struct KeyCase {
    const char* name;
    std::vector<KeyStroke> strokes;
    std::vector<int> held; // keys down in the keyboard state while the strokes are handled
    Effect effect;
};

// A failing case names its key.
void PrintTo(const KeyCase& key, std::ostream* out) {
    *out << key.name;
}

std::vector<KeyStroke> plain(UINT key) {
    return {{WM_KEYDOWN, key}, {WM_KEYUP, key}};
}

const std::vector<KeyCase>& keyCases() {
    static const std::vector<KeyCase> cases{
        {"Escape", plain(VK_ESCAPE), {}, Effect::none},
        {"Return", plain(VK_RETURN), {}, Effect::newLine},
        {"F1", plain(VK_F1), {}, Effect::none},
        // Without Alt, F10 comes as a system key of its own.
        {"F10", {{WM_SYSKEYDOWN, VK_F10}, {WM_SYSKEYUP, VK_F10}}, {}, Effect::none},
        {"AltAlone", {{WM_SYSKEYDOWN, VK_MENU, true}, {WM_SYSKEYUP, VK_MENU, true}}, {VK_MENU}, Effect::none},
        {"CtrlW", plain('W'), {VK_CONTROL}, Effect::none},
        {"CtrlQ", plain('Q'), {VK_CONTROL}, Effect::none},
        {"CtrlF4", plain(VK_F4), {VK_CONTROL}, Effect::none},
        {"Tab", plain(VK_TAB), {}, Effect::nextStop},
        {"ShiftTab", plain(VK_TAB), {VK_SHIFT}, Effect::previousStop},
        {"AltF4",
         {{WM_SYSKEYDOWN, VK_MENU, true},
          {WM_SYSKEYDOWN, VK_F4, true},
          {WM_SYSKEYUP, VK_F4, true},
          {WM_KEYUP, VK_MENU}},
         {VK_MENU},
         Effect::closes},
    };
    return cases;
}

class Win32Keys : public ::testing::TestWithParam<std::tuple<std::string, KeyCase>> {};

// Real key messages through the program's message step, each key in each kind of control, with text in every box:
// only the frame's close ends the program, and no box loses what it held.
TEST_P(Win32Keys, OnlyTheFramesCloseEndsTheProgramAndNoBoxLosesItsText) {
    const auto& [focused, key] = GetParam();
    Win32WindowUnderTest run;
    run.startAndShow();

    std::map<std::string, std::u16string> before;
    for (const form::Control& each : form::controls()) {
        if (each.kind != form::Kind::textBox)
            continue;
        HWND box = run.control(each.objectName().c_str());
        const std::string name = each.objectName();
        const std::u16string text = u"typed in " + std::u16string(name.begin(), name.end());
        ::SetWindowTextW(box, wideText(text).c_str());
        ::SendMessageW(box, EM_SETSEL, text.size(), text.size());
        before[name] = text;
    }
    ::SetFocus(run.control(focused.c_str()));
    ASSERT_EQ(run.focusName(), focused);

    run.pressStrokes(key.strokes, key.held);

    if (key.effect == Effect::closes) {
        EXPECT_EQ(run.programEnd.exitStatus, 0) << "the frame's close ends the program";
        return;
    }
    EXPECT_FALSE(run.programEnd.exitStatus.has_value()) << "the program ended";
    EXPECT_TRUE(::IsWindowVisible(run.window.handle()));
    EXPECT_TRUE(run.dialogs.messages.empty());
    for (const auto& [name, text] : before) {
        const bool typesHere = key.effect == Effect::newLine && name == focused && name.rfind("txt_parameter", 0) != 0;
        EXPECT_EQ(windowText(run.control(name.c_str())), typesHere ? text + u"\r\n" : text) << name;
    }
    const std::string expectedFocus = key.effect == Effect::nextStop       ? tabStopBeside(focused, false)
                                      : key.effect == Effect::previousStop ? tabStopBeside(focused, true)
                                                                           : focused;
    EXPECT_EQ(run.focusName(), expectedFocus);
}

INSTANTIATE_TEST_SUITE_P(EveryKeyInEveryKindOfControl, Win32Keys,
                         ::testing::Combine(::testing::ValuesIn(oneControlOfEachFocusedKind),
                                            ::testing::ValuesIn(keyCases())),
                         [](const auto& info) { return std::get<0>(info.param) + "_" + std::get<1>(info.param).name; });

} // namespace
} // namespace kelvrast::testing
