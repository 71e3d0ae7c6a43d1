#include "Win32WindowUnderTest.h"
#include "frontend/win32/Win32PictureBox.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kelvrast::testing {
namespace {

using form::Control;
using form::Kind;

// A control's outer rectangle in its parent's client coordinates.
RECT placeInParent(HWND control) {
    RECT place{};
    ::GetWindowRect(control, &place);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

LONG_PTR style(HWND window) {
    return ::GetWindowLongPtrW(window, GWL_STYLE);
}

class EveryControl : public ::testing::TestWithParam<std::size_t> {
protected:
    const Control& row() const { return form::controls()[GetParam()]; }
};

TEST_P(EveryControl, LiesAtItsPlaceInPixelsAt96Dpi) {
    if (row().kind == Kind::timer)
        GTEST_SKIP() << "the timer has no place";
    Win32WindowUnderTest run;
    ASSERT_EQ(run.window.dpi(), 96u) << "the tests run at 96 dpi";
    const form::TwipsRect expected = form::pixelsAt96Dpi(row().place);
    const RECT place = placeInParent(run.control(row().objectName().c_str()));
    EXPECT_EQ(place.left, expected.left);
    EXPECT_EQ(place.top, expected.top);
    EXPECT_EQ(place.right - place.left, expected.width);
    EXPECT_EQ(place.bottom - place.top, expected.height);
}

TEST_P(EveryControl, IsMadeOfTheSystemClassForItsKindWithItsCaption) {
    if (row().kind == Kind::timer)
        GTEST_SKIP() << "the timer is no window";
    Win32WindowUnderTest run;
    HWND made = run.control(row().objectName().c_str());
    ASSERT_TRUE(made);
    const LONG_PTR styles = style(made);
    switch (row().kind) {
    case Kind::commandButton:
        EXPECT_EQ(classOf(made), L"Button");
        EXPECT_EQ(styles & BS_TYPEMASK, BS_PUSHBUTTON) << "a plain push button, never the default one";
        break;
    case Kind::optionButton:
        EXPECT_EQ(classOf(made), L"Button");
        EXPECT_EQ(styles & BS_TYPEMASK, BS_RADIOBUTTON);
        break;
    case Kind::textBox:
        EXPECT_EQ(classOf(made), L"Edit");
        EXPECT_EQ((styles & ES_MULTILINE) != 0, row().multiLine);
        EXPECT_EQ((styles & WS_VSCROLL) != 0, row().multiLine);
        EXPECT_EQ(styles & WS_HSCROLL, 0) << "long lines wrap";
        EXPECT_EQ((styles & ES_AUTOHSCROLL) != 0, !row().multiLine) << "a multi-line box with it would not wrap";
        EXPECT_GE(::SendMessageW(made, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE) << "no length limit of its own";
        break;
    case Kind::label:
        EXPECT_EQ(classOf(made), L"Static");
        break;
    case Kind::listBox:
        EXPECT_EQ(classOf(made), L"ListBox");
        EXPECT_EQ(::SendMessageW(made, LB_GETCOUNT, 0, 0), 0);
        break;
    case Kind::pictureBox:
        EXPECT_EQ(classOf(made), Win32PictureBox::className);
        break;
    case Kind::timer:
        break;
    }
    if (row().kind != Kind::listBox && row().kind != Kind::pictureBox) {
        EXPECT_EQ(windowText(made), std::u16string(row().caption));
    }
    EXPECT_EQ((styles & WS_TABSTOP) != 0, row().isTabStop());
    EXPECT_TRUE(::IsWindowEnabled(made));
}

TEST_P(EveryControl, HasTheFontOfTheTable) {
    if (row().kind == Kind::timer || row().kind == Kind::pictureBox)
        GTEST_SKIP() << "shows no text";
    Win32WindowUnderTest run;
    auto* font = reinterpret_cast<HFONT>(::SendMessageW(run.control(row().objectName().c_str()), WM_GETFONT, 0, 0));
    ASSERT_TRUE(font) << "the system font, not the window's own";
    LOGFONTW shown{};
    ASSERT_TRUE(::GetObjectW(font, sizeof shown, &shown));
    if (row().font == form::Font::arial9Point75) {
        EXPECT_EQ(std::wstring(shown.lfFaceName), L"Arial");
        EXPECT_EQ(shown.lfHeight, -13) << "9.75 points at 96 dpi";
        EXPECT_EQ(shown.lfWeight, FW_NORMAL);
        EXPECT_EQ(shown.lfCharSet, ANSI_CHARSET);
    } else {
        LOGFONTW gui{};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
        EXPECT_EQ(std::wstring(shown.lfFaceName), std::wstring(gui.lfFaceName));
        // A caption its control does not hold in the dialog font shows in a smaller size (Win32CaptionsTest).
        EXPECT_LE(std::abs(shown.lfHeight), std::abs(gui.lfHeight));
    }
}

INSTANTIATE_TEST_SUITE_P(Form, EveryControl, ::testing::Range<std::size_t>(0, form::controls().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return form::controls()[info.param].objectName();
                         });

TEST(Win32MainWindowLayout, IsAResizableFramedWindowTitledForm1With725By573Pixels) {
    Win32WindowUnderTest run;
    HWND window = run.window.handle();
    EXPECT_EQ(windowText(window), u"Form1");
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, 725);
    EXPECT_EQ(client.bottom, 573);
    EXPECT_EQ(style(window) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(::GetParent(window), nullptr);
}

// Of two overlapping controls the later one of the table lies on top: from the top of the z-order down, the
// controls come in the reverse order of the table.
// The program makes the controls that start-up does not use only after it: once it has run they lie as they would
// had they been made with the window.
class MadeWhen : public ::testing::TestWithParam<Win32MainWindow::Controls> {};

TEST_P(MadeWhen, LaterControlsLieOnTopOfEarlierOnes) {
    Win32WindowUnderTest run(GetParam());
    if (GetParam() == Win32MainWindow::Controls::afterStartUp) {
        EXPECT_FALSE(run.window.control("txt_question")) << "made before start-up";
        run.startAndShow();
    }
    std::vector<std::string> expected;
    for (const Control& each : form::controls())
        if (each.kind != Kind::timer)
            expected.insert(expected.begin(), each.objectName());
    std::vector<std::string> fromTop;
    for (HWND child = ::GetWindow(run.window.handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        for (const Control& each : form::controls())
            if (run.window.control(each.objectName()) == child)
                fromTop.push_back(each.objectName());
    EXPECT_EQ(fromTop, expected);
    for (const Control& each : form::controls()) {
        if (each.kind != Kind::textBox && each.kind != Kind::listBox)
            continue;
        EXPECT_EQ(windowText(::GetWindow(run.window.control(each.objectName()), GW_HWNDPREV)),
                  std::u16string(each.spokenName()))
            << each.objectName() << ": its spoken label lies directly above it";
    }
}

INSTANTIATE_TEST_SUITE_P(Win32MainWindowLayout, MadeWhen,
                         ::testing::Values(Win32MainWindow::Controls::withTheWindow,
                                           Win32MainWindow::Controls::afterStartUp));

// At 144 dpi every edge lies at the same place in twips: the form keeps its proportions, and the fonts grow too.
TEST(Win32MainWindowLayout, ANewDpiLaysTheFormOutAgainInProportion) {
    Win32WindowUnderTest run;
    HWND window = run.window.handle();
    RECT frame{};
    ::GetWindowRect(window, &frame);
    RECT suggested{frame.left, frame.top, frame.left + (frame.right - frame.left) * 3 / 2,
                   frame.top + (frame.bottom - frame.top) * 3 / 2};
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

    EXPECT_EQ(run.window.dpi(), 144u);
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, ::MulDiv(10875, 144, 1440));
    EXPECT_EQ(client.bottom, ::MulDiv(8595, 144, 1440));
    for (const Control& each : form::controls()) {
        if (each.kind == Kind::timer)
            continue;
        const RECT place = placeInParent(run.window.control(each.objectName()));
        EXPECT_EQ(place.left, ::MulDiv(each.place.left, 144, 1440)) << each.objectName();
        EXPECT_EQ(place.top, ::MulDiv(each.place.top, 144, 1440)) << each.objectName();
        EXPECT_EQ(place.right, ::MulDiv(each.place.right(), 144, 1440)) << each.objectName();
        EXPECT_EQ(place.bottom, ::MulDiv(each.place.bottom(), 144, 1440)) << each.objectName();
    }
    LOGFONTW large{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(run.control("txt_answer"), WM_GETFONT, 0, 0)), sizeof large,
                 &large);
    EXPECT_EQ(large.lfHeight, -20) << "9.75 points at 144 dpi";
}

} // namespace
} // namespace kelvrast::testing
