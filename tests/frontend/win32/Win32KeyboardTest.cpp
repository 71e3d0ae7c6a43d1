#include "Win32WindowUnderTest.h"
#include "flow/MainWindowLogic.h"

#include <vector>

namespace kelvrast::testing {
namespace {

std::vector<std::string> tabOrderNames() {
    std::vector<std::string> names;
    for (const form::Control* each : form::tabOrder())
        names.push_back(each->objectName());
    return names;
}

TEST(Win32Keyboard, WhenShownTheFocusWaitsInTheQuestionBox) {
    Win32WindowUnderTest run;
    run.startAndShow();
    EXPECT_EQ(run.focusName(), "txt_question");
}

// Real Tab presses through the program's message step, once round the whole form and on to the start again.
TEST(Win32Keyboard, TabFollowsTheTabOrderAndWrapsFromClearToTheQuestionBox) {
    Win32WindowUnderTest run;
    run.startAndShow();
    const std::vector<std::string> expected = tabOrderNames();
    std::vector<std::string> visited{run.focusName()};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        run.press(VK_TAB);
        visited.push_back(run.focusName());
    }
    std::vector<std::string> roundTrip = expected;
    roundTrip.push_back(expected.front());
    EXPECT_EQ(visited, roundTrip);
    EXPECT_EQ(windowText(run.control("txt_question")), u"") << "Tab moved on and typed nothing";
    EXPECT_EQ(windowText(run.control("txt_answer")), u"");
}

TEST(Win32Keyboard, ShiftTabGoesBackwardsAndWrapsFromTheQuestionBoxToClear) {
    Win32WindowUnderTest run;
    run.startAndShow();
    std::vector<std::string> expected = tabOrderNames();
    std::vector<std::string> visited;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        run.press(VK_TAB, {VK_SHIFT});
        visited.push_back(run.focusName());
    }
    std::vector<std::string> backwards(expected.rbegin(), expected.rend() - 1);
    backwards.push_back(expected.front());
    EXPECT_EQ(visited, backwards);
}

// Tab handled by the box itself, as when a key reaches it past the program's own loop.
TEST(Win32Keyboard, ATabSentStraightToALargeBoxMovesTheFocusAndTypesNothing) {
    Win32WindowUnderTest run;
    run.startAndShow();
    HWND question = run.control("txt_question");
    ::SendMessageW(question, WM_KEYDOWN, VK_TAB, 1);
    ::SendMessageW(question, WM_CHAR, L'\t', 1);
    EXPECT_EQ(run.focusName(), "txt_answer");
    EXPECT_EQ(windowText(question), u"");
}

TEST(Win32Keyboard, CtrlASelectsTheWholeTextOfALargeBox) {
    Win32WindowUnderTest run;
    run.startAndShow();
    HWND answer = run.control("txt_answer");
    ::SetWindowTextW(answer, L"first line\r\nsecond line");
    ::SetFocus(answer);
    ::SendMessageW(answer, EM_SETSEL, 3, 3);
    run.press('A', {VK_CONTROL});
    DWORD start = 1;
    DWORD end = 0;
    ::SendMessageW(answer, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 23u);
    EXPECT_EQ(windowText(answer), u"first line\r\nsecond line") << "Ctrl+A typed nothing";
}

// No button is the default one: Enter in a large box starts a new line and clicks nothing.
TEST(Win32Keyboard, EnterInALargeBoxStartsANewLine) {
    Win32WindowUnderTest run;
    run.startAndShow();
    HWND answer = run.control("txt_answer");
    const int bankIndex = run.window.logic().state().bankIndex;
    ::SetFocus(answer);
    run.press('X');
    run.press(VK_RETURN);
    run.press('Y');
    EXPECT_EQ(windowText(answer), u"x\r\ny");
    EXPECT_EQ(run.window.logic().state().bankIndex, bankIndex);
    EXPECT_TRUE(run.dialogs.messages.empty());
    EXPECT_EQ(run.focusName(), "txt_answer");
}

// The window itself holding the focus (after a click on its bare client area) is no tab stop: Tab goes on to the
// first control, Shift+Tab to the last.
TEST(Win32Keyboard, FromTheWindowItselfTabReachesTheFirstControlAndShiftTabTheLast) {
    Win32WindowUnderTest run;
    run.startAndShow();
    ::SetFocus(run.window.handle());
    ASSERT_EQ(run.focusName(), "(the window)");
    run.press(VK_TAB);
    EXPECT_EQ(run.focusName(), "txt_question");
    ::SetFocus(run.window.handle());
    run.press(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(run.focusName(), "cmd_clear");
}

// Through the dialog keys: Space clicks the focused button; Enter and Esc click nothing, as there is no default
// and no cancel button.
TEST(Win32Keyboard, SpaceClicksTheFocusedButtonEnterAndEscDoNot) {
    Win32WindowUnderTest run;
    run.startAndShow();
    const MainWindowState& state = run.window.logic().state();
    const int bankIndex = state.bankIndex;
    ::SetFocus(run.control("cmdNextQuestion"));
    run.press(VK_RETURN);
    run.press(VK_ESCAPE);
    EXPECT_EQ(state.bankIndex, bankIndex);
    EXPECT_FALSE(run.programEnd.exitStatus.has_value());
    run.press(VK_SPACE);
    EXPECT_GT(state.bankIndex, bankIndex);
    EXPECT_EQ(run.focusName(), "cmdNextQuestion");
}

TEST(Win32OptionButtons, NeitherIsSelectedAtStartNorWhenTabPassesThem) {
    Win32WindowUnderTest run;
    run.startAndShow();
    EXPECT_FALSE(run.checked("opt_stop_at_periods"));
    EXPECT_FALSE(run.checked("op_stop_at_paragraphs"));
    for (std::size_t i = 0; i < tabOrderNames().size(); ++i)
        run.press(VK_TAB);
    EXPECT_FALSE(run.checked("opt_stop_at_periods"));
    EXPECT_FALSE(run.checked("op_stop_at_paragraphs"));
}

TEST(Win32OptionButtons, SelectingOneDeselectsTheOther) {
    Win32WindowUnderTest run;
    run.startAndShow();
    ::SendMessageW(run.control("opt_stop_at_periods"), BM_CLICK, 0, 0);
    EXPECT_TRUE(run.checked("opt_stop_at_periods"));
    EXPECT_FALSE(run.checked("op_stop_at_paragraphs"));
    ::SendMessageW(run.control("op_stop_at_paragraphs"), BM_CLICK, 0, 0);
    EXPECT_FALSE(run.checked("opt_stop_at_periods"));
    EXPECT_TRUE(run.checked("op_stop_at_paragraphs"));
    ::SendMessageW(run.control("op_stop_at_paragraphs"), BM_CLICK, 0, 0);
    EXPECT_TRUE(run.checked("op_stop_at_paragraphs")) << "clicking the selected one keeps it selected";
}

TEST(Win32OptionButtons, SpaceSelectsTheFocusedOne) {
    Win32WindowUnderTest run;
    run.startAndShow();
    for (int presses = 0; presses < 30 && run.focusName() != "op_stop_at_paragraphs"; ++presses)
        run.press(VK_TAB);
    ASSERT_EQ(run.focusName(), "op_stop_at_paragraphs");
    run.press(VK_SPACE);
    EXPECT_TRUE(run.checked("op_stop_at_paragraphs"));
    EXPECT_FALSE(run.checked("opt_stop_at_periods"));
}

} // namespace
} // namespace kelvrast::testing
