// One keystroke in the Answer box of the real Windows window, with drafts kept and without, timed side by side in one
// run. Google Benchmark is not built for mingw-w64, so this is the least loop that is still fair: a warm-up, then
// repetitions that alternate which of the two windows goes first, each one long enough for several ticks of the
// draft timer, whose reading of the boxes and hand-over to the writer are counted as the student pays for them. The
// disk is the writer thread's, in a real draft folder, which a keystroke never waits for.
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

double now() {
    static const double ticksPerSecond = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / ticksPerSecond;
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
        long keystrokes = 0;
        const double start = now();
        double elapsed = 0;
        do {
            press('A');
            press(VK_BACK);
            keystrokes += 2;
            elapsed = now() - start;
        } while (elapsed < seconds);
        if (::GetWindowTextLengthW(answer) != answerLength) {
            std::fputs("the keystrokes did not reach the Answer box as typed\n", stderr);
            std::exit(1);
        }
        return elapsed / static_cast<double>(keystrokes);
    }
};

struct Figures {
    double median, least, most;
};

Figures figuresOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

void print(const char* label, const Figures& f) {
    std::printf("%-11s median %8.2f us per keystroke   (fastest %.2f, slowest %.2f)\n", label, f.median * 1e6,
                f.least * 1e6, f.most * 1e6);
}

} // namespace

// Usage: keystroke_benchmark_win32 [REPETITIONS [SECONDS_PER_REPETITION]]
int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const double seconds = argc > 2 ? std::max(0.1, std::atof(argv[2])) : 1.0;

    AnsweringWindow off(false);
    AnsweringWindow on(true);
    off.typeFor(seconds / 2); // warm-up: the code, the caches, the draft folder and its first file
    on.typeFor(seconds / 2);

    std::vector<double> offTimes, onTimes, ratios;
    for (int i = 0; i < repetitions; ++i) {
        const bool onFirst = i % 2 == 1;
        const double first = (onFirst ? on : off).typeFor(seconds);
        const double second = (onFirst ? off : on).typeFor(seconds);
        offTimes.push_back(onFirst ? second : first);
        onTimes.push_back(onFirst ? first : second);
        ratios.push_back(onTimes.back() / offTimes.back());
    }

    on.window.logic().keepDraftNow();
    const bool kept =
        on.dialogs.messages.empty() && std::filesystem::exists(on.drafts.pathOf(draftFileName(u"Ann Example")));
    if (!kept) {
        std::fputs("the draft was not kept: the figure for drafts on is not worth reading\n", stderr);
        return 1;
    }

    std::printf("A letter and a Backspace in the Answer box (a page of text), %d repetitions of %.1f s each, "
                "alternating which goes first:\n",
                repetitions, seconds);
    const Figures offFigures = figuresOf(offTimes);
    const Figures onFigures = figuresOf(onTimes);
    print("drafts off", offFigures);
    print("drafts on", onFigures);
    const Figures ratioFigures = figuresOf(ratios);
    std::printf("on/off      %.3f (ratio of the medians); per repetition: median %.3f, lowest %.3f, highest %.3f\n",
                onFigures.median / offFigures.median, ratioFigures.median, ratioFigures.least, ratioFigures.most);
    return 0;
}
