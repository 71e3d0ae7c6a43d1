// One keystroke in the Answer box of the real Windows window, with drafts kept and without, timed side by side in one
// run (see SideBySide.h). Each repetition is long enough for several ticks of the draft timer, whose reading of the
// boxes and hand-over to the writer are counted as the student pays for them. The disk is the writer thread's, in a
// real draft folder, which a keystroke never waits for.
#include "SideBySide.h"
#include "flow/Draft.h"
#include "flow/MainWindowLogic.h"
#include "frontend/win32/Win32MainWindow.h"
#include "support/FakeBeep.h"
#include "support/FakeClock.h"
#include "support/FakeProgramEnd.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedRandom.h"
#include "support/TempFolder.h"
#include "system/SystemDraftStore.h"
#include "system/windows/Win32Files.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace kelvrast;

// About a page: the length of a long answer, whose whole text the timer reads.
std::wstring typicalAnswer() {
    std::wstring text;
    for (int i = 0; i < 12; ++i)
        text += L"The period grew with the length of the string: for 40 cm I counted 20 cycles in 25.4 seconds, so "
                L"1.27 s each, and for 80 cm 20 cycles took 35.9 seconds, 1.80 s each.\r\n\r\n";
    return text;
}

struct AnsweringWindow {
    testing::TempFolder folder;
    testing::FakeClock clock;
    testing::ScriptedRandom random{{0.25f}};
    Win32Files files;
    SystemDraftStore drafts{folder.path() / "drafts"};
    testing::ScriptedDialogs dialogs;
    testing::FakeProgramEnd programEnd;
    testing::FakeBeep beep;
    Win32MainWindow window;
    HWND answer = nullptr;
    int answerLength = 0;

    explicit AnsweringWindow(bool keepDrafts)
        : window(Platform{.clock = clock,
                          .random = random,
                          .files = files,
                          .dialogs = dialogs,
                          .programEnd = programEnd,
                          .beep = beep,
                          .drafts = keepDrafts ? &drafts : nullptr},
                 folder.path() / "kelvrast") {
        random.repeatLast = true;
        dialogs.inputs = {u"Ann Example"};
        if (!window.load().ok()) {
            std::fputs("the window did not start\n", stderr);
            std::exit(1);
        }
        window.show(SW_SHOWNORMAL);
        answer = window.control("txt_answer");
        ::SetWindowTextW(answer, typicalAnswer().c_str());
        answerLength = ::GetWindowTextLengthW(answer);
        pump();
    }

    // Every waiting message, the draft timer's among them, through the program's own message step.
    void pump() {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            window.processMessage(message);
    }

    // A key pressed and let go as the system posts it; the message step turns it into WM_CHAR.
    void press(UINT key) {
        const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        ::PostMessageW(answer, WM_KEYDOWN, key, 1 | scan);
        ::PostMessageW(answer, WM_KEYUP, key, 1 | scan | static_cast<LPARAM>(0xC0000000u));
        pump();
    }

    // A letter typed at the end and taken back again, for at least this long: the seconds per keystroke.
    double typeFor(double seconds) {
        ::SetForegroundWindow(window.handle());
        ::SetFocus(answer);
        ::SendMessageW(answer, EM_SETSEL, answerLength, answerLength);
        pump();
        const double perPair = bench::secondsPerOperation(
            [this] {
                press('A');
                press(VK_BACK);
            },
            seconds);
        if (::GetWindowTextLengthW(answer) != answerLength) {
            std::fputs("the keystrokes did not reach the Answer box as typed\n", stderr);
            std::exit(1);
        }
        return perPair / 2;
    }
};

} // namespace

// Usage: keystroke_benchmark_win32 [REPETITIONS [SECONDS_PER_REPETITION]]
int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const double seconds = argc > 2 ? std::max(0.1, std::atof(argv[2])) : 1.0;

    AnsweringWindow off(false);
    AnsweringWindow on(true);
    std::printf("A letter and a Backspace in the Answer box (a page of text), %d repetitions of %.1f s each, "
                "alternating which goes first:\n",
                repetitions, seconds);
    bench::compareSideBySide({"drafts on", [&](double s) { return on.typeFor(s); }},
                             {"drafts off", [&](double s) { return off.typeFor(s); }}, repetitions, seconds,
                             "keystroke");

    on.window.logic().keepDraftNow();
    const bool kept =
        on.dialogs.messages.empty() && std::filesystem::exists(on.drafts.pathOf(draftFileName(u"Ann Example")));
    if (!kept) {
        std::fputs("the draft was not kept: the figure for drafts on is not worth reading\n", stderr);
        return 1;
    }

    return 0;
}
