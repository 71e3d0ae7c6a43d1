// The Windows window hands the student's typing in either large box to the logic, so what is typed outlives the
// window.
#include "Win32WindowUnderTest.h"
#include "flow/Draft.h"
#include "flow/MainWindowLogic.h"
#include "support/MemoryDraftStore.h"

namespace kelvrast::testing {
namespace {

struct Win32WindowWithDrafts {
    TempFolder folder;
    FakeClock clock;
    ScriptedRandom random{{0.25f}};
    Win32Files files;
    ScriptedDialogs dialogs;
    FakeProgramEnd programEnd;
    FakeBeep beep;
    Win32MainWindow window;

    explicit Win32WindowWithDrafts(MemoryDraftStore& store,
                                   Win32MainWindow::Controls made = Win32MainWindow::Controls::withTheWindow)
        : window(Platform{.clock = clock,
                          .random = random,
                          .files = files,
                          .dialogs = dialogs,
                          .programEnd = programEnd,
                          .beep = beep,
                          .drafts = &store},
                 folder.path() / "kelvrast", made) {
        random.repeatLast = true;
        dialogs.inputs = {u"Ann Lee"};
        EXPECT_TRUE(window.load().ok());
    }
    // Characters as the keyboard makes them, straight to the box.
    void type(const char* name, const wchar_t* text) {
        for (const wchar_t* c = text; *c; ++c)
            ::SendMessageW(window.control(name), WM_CHAR, *c, 1);
    }
};

TEST(Win32Draft, TypingInEitherBoxIsKeptAndTheProgramsOwnTextIsNot) {
    MemoryDraftStore store;
    const auto file = draftFileName(u"Ann Lee");
    {
        Win32WindowWithDrafts run(store);
        ::SendMessageW(run.window.control("cmdNextQuestion"), BM_CLICK, 0, 0);
        run.window.logic().keepDraftNow();
        EXPECT_EQ(store.files().count(file), 0u) << "the entry the program showed is no typing";

        run.type("txt_answer", L"typed \u03a9");
        ::SendMessageW(run.window.control("txt_question"), EM_SETSEL, 0x7fffffff, 0x7fffffff);
        run.type("txt_question", L"!");
        ::SendMessageW(run.window.handle(), WM_CLOSE, 0, 0);
    }
    ASSERT_EQ(store.files().count(file), 1u);
    // The program makes the boxes only once start-up, which puts the draft back, has asked for the name.
    for (const auto made : {Win32MainWindow::Controls::withTheWindow, Win32MainWindow::Controls::afterStartUp}) {
        Win32WindowWithDrafts next(store, made);
        EXPECT_EQ(windowText(next.window.control("txt_answer")), u"typed \u03a9");
        EXPECT_TRUE(windowText(next.window.control("txt_question")).ends_with(u"!"));
    }
}

} // namespace
} // namespace kelvrast::testing
