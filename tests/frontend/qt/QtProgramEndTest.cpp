#include "frontend/qt/QtProgramEnd.h"

#include <QApplication>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace kelvrast {
namespace {

TEST(QtProgramEnd, EndsTheRunningEventLoopWithItsStatusAndHidesTheWindows) {
    QWidget window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QtProgramEnd programEnd;
    bool shownWhenEnding = false;
    QTimer::singleShot(0, [&] {
        shownWhenEnding = window.isVisible();
        programEnd.endProgram(3);
    });
    // A loop that ignored the end would run until this fallback. It goes with the window: left behind, it would end
    // the event loop of a later test in this process, and every modal dialog after it would return at once.
    QTimer::singleShot(5000, &window, [] { QCoreApplication::exit(-1); });

    EXPECT_EQ(QApplication::exec(), 3);
    EXPECT_TRUE(shownWhenEnding);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(programEnd.exitStatus(), 3);
}

TEST(QtProgramEnd, BeforeTheEventLoopRunsItKeepsTheStatusAndLeavesLaterLoopsAlone) {
    QtProgramEnd programEnd;
    EXPECT_FALSE(programEnd.exitStatus().has_value());
    programEnd.endProgram(0);
    EXPECT_EQ(programEnd.exitStatus(), 0);

    QEventLoop loop;
    QTimer::singleShot(20, &loop, [&loop] { loop.exit(7); });
    EXPECT_EQ(loop.exec(), 7);
}

} // namespace
} // namespace kelvrast
