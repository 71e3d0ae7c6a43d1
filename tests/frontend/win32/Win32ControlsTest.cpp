#include "Win32WindowUnderTest.h"
#include "flow/BoxText.h"
#include "flow/MainWindowLogic.h"
#include "frontend/win32/Win32PictureBox.h"
#include "frontend/win32/Win32TextBoxes.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace kelvrast::testing {
namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF black = RGB(0, 0, 0);

SIZE clientSize(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

int darkPixels(Win32PictureBox& box) {
    const SIZE size = clientSize(box.handle());
    int dark = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            dark += box.canvasPixel(x, y) != white;
    return dark;
}

// Every dark pixel lies on the outline of a circle of that radius in pixels, and the outline shows where it
// crosses the box's width at the centre's height.
void expectOnlyTheCircle(Win32PictureBox& box, double centreX, double centreY, double radius) {
    const SIZE size = clientSize(box.handle());
    int dark = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            const COLORREF pixel = box.canvasPixel(x, y);
            if (pixel == white)
                continue;
            ++dark;
            EXPECT_EQ(pixel, black) << "at " << x << ", " << y;
            EXPECT_NEAR(std::hypot(x - centreX, y - centreY), radius, 1.5) << "at " << x << ", " << y;
        }
    EXPECT_GT(dark, 0);
    const int row = static_cast<int>(std::lround(centreY));
    EXPECT_EQ(box.canvasPixel(static_cast<int>(std::lround(centreX + radius)), row), black);
    EXPECT_EQ(box.canvasPixel(static_cast<int>(std::lround(centreX - radius)), row), black);
    EXPECT_EQ(box.canvasPixel(static_cast<int>(std::lround(centreX)), row), white) << "an outline, not filled";
}

UINT_PTR pendulumTimerId() {
    const auto& table = form::controls();
    const auto timer =
        std::find_if(table.begin(), table.end(), [](const form::Control& c) { return c.kind == form::Kind::timer; });
    return static_cast<UINT_PTR>(Win32MainWindow::firstControlId + (timer - table.begin()));
}

TEST(Win32PictureBoxes, StartUpGivesBothA1000By1000ScaleAndTheyStartWhite) {
    Win32WindowUnderTest run;
    run.startAndShow();
    for (Win32PictureBox* box : {&run.window.picture1(), &run.window.picture2()}) {
        EXPECT_EQ(box->scaleWidth(), 1000.0f);
        EXPECT_EQ(box->scaleHeight(), 1000.0f);
        EXPECT_EQ(darkPixels(*box), 0);
    }
}

// Picture1 is far wider than high: a radius in horizontal units makes a true circle that the box's height cuts.
TEST(Win32PictureBoxes, ACircleIsATrueOneOutlineWithItsRadiusInHorizontalUnits) {
    Win32WindowUnderTest run;
    run.startAndShow();
    Win32PictureBox& box = run.window.picture1();
    box.circle(500, 500, 100);
    const SIZE size = clientSize(box.handle());
    const double perUnitX = size.cx / 1000.0;
    expectOnlyTheCircle(box, 500 * perUnitX, 500 * size.cy / 1000.0, 100 * perUnitX);
    EXPECT_EQ(darkPixels(run.window.picture2()), 0);
}

// WM_PAINT and WM_PRINTCLIENT show the bitmap as it is, so what was drawn comes back after being covered.
TEST(Win32PictureBoxes, PaintingCopiesWhatWasDrawn) {
    Win32WindowUnderTest run;
    run.startAndShow();
    ::SetFocus(run.control("txt_question"));
    Win32PictureBox& box = run.window.picture1();
    box.circle(500, 500, 50);
    const SIZE size = clientSize(box.handle());
    HDC screen = ::GetDC(nullptr);
    HDC copy = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size.cx, size.cy);
    ::ReleaseDC(nullptr, screen);
    const HGDIOBJ before = ::SelectObject(copy, bitmap);
    ::SendMessageW(box.handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(copy), PRF_CLIENT);
    int differing = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            differing += ::GetPixel(copy, x, y) != box.canvasPixel(x, y);
    ::SelectObject(copy, before);
    ::DeleteObject(bitmap);
    ::DeleteDC(copy);
    EXPECT_EQ(differing, 0);
}

// A change of DPI makes the box and its bitmap larger; what was drawn stays where it was.
TEST(Win32PictureBoxes, WhatWasDrawnSurvivesAChangeOfDpi) {
    Win32WindowUnderTest run;
    run.startAndShow();
    Win32PictureBox& box = run.window.picture1();
    box.circle(500, 500, 100);
    const SIZE before = clientSize(box.handle());
    const int rightX = static_cast<int>(std::lround(500 * before.cx / 1000.0 + 100 * before.cx / 1000.0));
    const int row = static_cast<int>(std::lround(500 * before.cy / 1000.0));
    ASSERT_EQ(box.canvasPixel(rightX, row), black);
    RECT frame{};
    ::GetWindowRect(run.window.handle(), &frame);
    ::SendMessageW(run.window.handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&frame));
    const SIZE after = clientSize(box.handle());
    EXPECT_GT(after.cx, before.cx);
    EXPECT_EQ(box.canvasPixel(rightX, row), black);
    EXPECT_EQ(box.canvasPixel(after.cx - 1, after.cy - 1), white) << "the new part of the box is white";
}

// The first circle comes with the first tick, not with the click; Trigger Timer starts nothing.
TEST(Win32Pendulum, PendExpStartsTheTimerWhoseTicksBeepAndDrawInPicture1Only) {
    Win32WindowUnderTest run;
    run.startAndShow();
    HWND window = run.window.handle();
    ::SendMessageW(run.control("cmd_timerTrigger"), BM_CLICK, 0, 0);
    ::SendMessageW(window, WM_TIMER, pendulumTimerId(), 0);
    EXPECT_EQ(run.beep.beeps, 0);
    EXPECT_EQ(darkPixels(run.window.picture1()), 0);

    ::SendMessageW(run.control("cmd_pend_exp"), BM_CLICK, 0, 0);
    EXPECT_EQ(darkPixels(run.window.picture1()), 0);
    ::SendMessageW(window, WM_TIMER, pendulumTimerId(), 0);
    EXPECT_EQ(run.beep.beeps, 1);
    const SIZE size = clientSize(run.window.picture1().handle());
    const double perUnitX = size.cx / 1000.0;
    expectOnlyTheCircle(run.window.picture1(), 500 * perUnitX, 500 * size.cy / 1000.0, 0.25 * 500 * perUnitX);
    EXPECT_EQ(darkPixels(run.window.picture2()), 0);
}

// An error inside one of the window's messages goes no further than the window: it is reported, and the program
// ends with status 1. Here the tick's draw from the random generator fails.
TEST(Win32Errors, AnErrorNoHandlerDealtWithIsReportedAndEndsTheProgramWithStatus1) {
    Win32WindowUnderTest run;
    run.startAndShow();
    ::SendMessageW(run.control("cmd_pend_exp"), BM_CLICK, 0, 0);
    run.random.numbers.clear();
    run.random.repeatLast = false;
    ::SendMessageW(run.window.handle(), WM_TIMER, pendulumTimerId(), 0);
    EXPECT_EQ(run.programEnd.exitStatus, 1);
    ASSERT_FALSE(run.dialogs.messages.empty());
    EXPECT_EQ(run.dialogs.messages.back(),
              u"The program met an error it cannot go on from: ScriptedRandom: no more scripted numbers.");
}

TEST(Win32TextBoxes, TheReplaceOfTheAnswerIsTakenBackByUndo) {
    Win32WindowUnderTest run;
    run.startAndShow();
    HWND answer = run.control("txt_answer");
    Win32TextBoxes boxes(run.control("txt_question"), answer);
    boxes.setAnswerText(u"what I typed\r\nover two lines");
    ::SendMessageW(answer, EM_EMPTYUNDOBUFFER, 0, 0);
    boxes.replaceAnswerUndoably(u"the prompt");
    EXPECT_EQ(boxes.answerText(), u"the prompt");
    ASSERT_TRUE(::SendMessageW(answer, EM_CANUNDO, 0, 0));
    ::SendMessageW(answer, EM_UNDO, 0, 0);
    EXPECT_EQ(boxes.answerText(), u"what I typed\r\nover two lines");
}

// The Linux window shows a lone CR or LF as a line break and gives it back as CR LF; so does this one.
TEST(Win32TextBoxes, EveryLineBreakComesBackAsCrLf) {
    Win32WindowUnderTest run;
    Win32TextBoxes boxes(run.control("txt_question"), run.control("txt_answer"));
    boxes.setQuestionText(u"a\nb\rc\r\nd\n\re\u00e9\u20ac");
    EXPECT_EQ(boxes.questionText(), u"a\r\nb\r\nc\r\nd\r\n\r\ne\u00e9\u20ac");
    boxes.replaceAnswerUndoably(u"x\ny");
    EXPECT_EQ(boxes.answerText(), u"x\r\ny");
    EXPECT_EQ(boxes.questionText(), u"a\r\nb\r\nc\r\nd\r\n\r\ne\u00e9\u20ac") << "the other box is untouched";
}

TEST(Win32Clicks, NextQuestionShowsTheFirstPieceOfTheBankAndThenThePromptUndoably) {
    Win32WindowUnderTest run;
    run.startAndShow();
    HWND next = run.control("cmdNextQuestion");
    HWND answer = run.control("txt_answer");
    ::SendMessageW(next, BM_CLICK, 0, 0);
    const MainWindowState& state = run.window.logic().state();
    ASSERT_GT(state.bankIndex, 0);
    EXPECT_NE(windowText(run.control("txt_question")).find(toScreenText(state.currentLine)), std::u16string::npos);

    // On to the first question, after which a click while the answer is due only puts the prompt up.
    for (int clicks = 0; clicks < 100 && !state.awaitingResponse; ++clicks)
        ::SendMessageW(next, BM_CLICK, 0, 0);
    ASSERT_TRUE(state.awaitingResponse);
    ::SetWindowTextW(answer, L"my answer");
    ::SendMessageW(run.window.handle(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(next), BN_CLICKED),
                   reinterpret_cast<LPARAM>(next));
    EXPECT_EQ(windowText(answer), toScreenText(state.answerPrompt));
    ::SendMessageW(answer, EM_UNDO, 0, 0);
    EXPECT_EQ(windowText(answer), u"my answer");
}

TEST(Win32Clicks, TheButtonsWithoutHandlersChangeNothing) {
    Win32WindowUnderTest run;
    run.startAndShow();
    ::SetWindowTextW(run.control("txt_answer"), L"typed");
    const int bankIndex = run.window.logic().state().bankIndex;
    for (const char* name : {"cmd_timerTrigger", "cmd_Make_Paragraph_question"})
        ::SendMessageW(run.control(name), BM_CLICK, 0, 0);
    EXPECT_EQ(windowText(run.control("txt_question")), u"");
    EXPECT_EQ(windowText(run.control("txt_answer")), u"typed");
    EXPECT_EQ(run.window.logic().state().bankIndex, bankIndex);
    EXPECT_FALSE(run.programEnd.exitStatus.has_value());
    EXPECT_TRUE(run.dialogs.messages.empty());
}

TEST(Win32Clicks, ClearEmptiesTheAnswerBoxAndQuitEndsWithStatus0) {
    Win32WindowUnderTest run;
    run.startAndShow();
    ::SetWindowTextW(run.control("txt_answer"), L"typed");
    ::SendMessageW(run.control("cmd_clear"), BM_CLICK, 0, 0);
    EXPECT_EQ(windowText(run.control("txt_answer")), u"");
    EXPECT_FALSE(run.programEnd.exitStatus.has_value());
    ::SendMessageW(run.control("cmd_quit"), BM_CLICK, 0, 0);
    EXPECT_EQ(run.programEnd.exitStatus, 0);
}

// Closing the window through its frame ends the program and writes nothing into the answer files.
TEST(Win32Clicks, ClosingTheWindowEndsTheProgramWithStatus0AndWritesNothing) {
    Win32WindowUnderTest run;
    run.startAndShow();
    ::SetWindowTextW(run.control("txt_answer"), L"an answer never entered");
    std::uintmax_t before = 0;
    for (const auto& file : std::filesystem::recursive_directory_iterator(run.folder.path()))
        if (file.is_regular_file())
            before += file.file_size();
    ::SendMessageW(run.window.handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.programEnd.exitStatus, 0);
    EXPECT_TRUE(::IsWindow(run.window.handle())) << "the window is its owner's to destroy";
    std::uintmax_t after = 0;
    for (const auto& file : std::filesystem::recursive_directory_iterator(run.folder.path()))
        if (file.is_regular_file())
            after += file.file_size();
    EXPECT_EQ(after, before);
}

} // namespace
} // namespace kelvrast::testing
