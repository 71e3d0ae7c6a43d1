// The window hands the student's typing in either large box to the logic, so what is typed outlives the window.
#include "WindowUnderTest.h"
#include "flow/Draft.h"
#include "flow/MainWindowLogic.h"
#include "support/MemoryDraftStore.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace kelvrast::testing {
namespace {

struct WindowWithDrafts {
    TempFolder folder;
    FakeClock clock;
    ScriptedRandom random{{0.25f}};
    PosixFiles files;
    ScriptedDialogs dialogs;
    FakeProgramEnd programEnd;
    FakeBeep beep;
    MainWindow window;

    explicit WindowWithDrafts(MemoryDraftStore& store)
        : window(Platform{.clock = clock,
                          .random = random,
                          .files = files,
                          .dialogs = dialogs,
                          .programEnd = programEnd,
                          .beep = beep,
                          .drafts = &store},
                 folder.path() / "kelvrast") {
        random.repeatLast = true;
        dialogs.inputs = {u"Ann Lee"};
        EXPECT_TRUE(window.load().ok());
    }
    QPlainTextEdit* box(const char* name) { return window.findChild<QPlainTextEdit*>(QLatin1String(name)); }
};

TEST(MainWindowDraft, TypingInEitherBoxIsKeptAndTheProgramsOwnTextIsNot) {
    MemoryDraftStore store;
    const auto file = draftFileName(u"Ann Lee");
    {
        WindowWithDrafts run(store);
        run.window.show();
        QTest::mouseClick(run.window.findChild<QPushButton*>(QStringLiteral("cmdNextQuestion")), Qt::LeftButton);
        run.window.logic().keepDraftNow();
        EXPECT_EQ(store.files().count(file), 0u) << "the entry the program showed is no typing";

        QTest::keyClicks(run.box("txt_answer"), QStringLiteral("typed"));
        run.box("txt_question")->moveCursor(QTextCursor::End);
        QTest::keyClicks(run.box("txt_question"), QStringLiteral("!"));
        run.window.close();
    }
    ASSERT_EQ(store.files().count(file), 1u);
    WindowWithDrafts next(store);
    EXPECT_EQ(next.box("txt_answer")->toPlainText(), QStringLiteral("typed"));
    EXPECT_TRUE(next.box("txt_question")->toPlainText().endsWith(QStringLiteral("!")));
}

} // namespace
} // namespace kelvrast::testing
