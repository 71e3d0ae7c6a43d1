// One keystroke in the Answer box of the real Qt window, with drafts kept and without. A keystroke only marks the
// boxes as changed; the timer's reading of the boxes and the hand-over to the writer run between keystrokes, as they
// do for a student, and are counted here too: every iteration lets the window handle its waiting events. The disk
// is the writer thread's, which a keystroke never waits for.
#include "flow/MainWindowLogic.h"
#include "frontend/qt/MainWindow.h"
#include "support/FakeBeep.h"
#include "support/FakeClock.h"
#include "support/FakeProgramEnd.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedRandom.h"
#include "support/TempFolder.h"
#include "system/posix/PosixDraftStore.h"
#include "system/posix/PosixFiles.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

using namespace kelvrast;

// About a page: the length of a long answer, whose whole text the timer reads.
const QString typicalAnswer =
    QString(
        "The period grew with the length of the string: for 40 cm I counted 20 cycles in 25.4 seconds, so 1.27 s each, "
        "and for 80 cm 20 cycles took 35.9 seconds, 1.80 s each.\n\n")
        .repeated(12);

struct AnsweringWindow {
    testing::TempFolder folder;
    testing::FakeClock clock;
    testing::ScriptedRandom random{{0.25f}};
    PosixFiles files;
    PosixDraftStore drafts{folder.path() / "drafts"};
    testing::ScriptedDialogs dialogs;
    testing::FakeProgramEnd programEnd;
    testing::FakeBeep beep;
    MainWindow window;
    QPlainTextEdit* answer = nullptr;

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
        (void)window.load();
        window.show();
        answer = window.findChild<QPlainTextEdit*>(QStringLiteral("txt_answer"));
        answer->setPlainText(typicalAnswer);
        answer->moveCursor(QTextCursor::End);
        answer->setFocus();
    }
};

// A letter typed and taken back again: two keystrokes per iteration, so the text keeps its length.
void Keystroke(benchmark::State& state) {
    AnsweringWindow run(state.range(0) != 0);
    for (auto _ : state) {
        QTest::keyClick(run.answer, Qt::Key_A);
        QApplication::processEvents();
        QTest::keyClick(run.answer, Qt::Key_Backspace);
        QApplication::processEvents();
    }
    state.SetItemsProcessed(2 * state.iterations());
    run.window.logic().keepDraftNow();
    if (!run.dialogs.messages.empty())
        state.SkipWithError("the draft could not be kept");
}
BENCHMARK(Keystroke)->ArgName("drafts")->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
