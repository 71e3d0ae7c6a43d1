#pragma once

#include "frontend/qt/MainWindow.h"
#include "platform/posix/PosixFiles.h"
#include "support/FakeBeep.h"
#include "support/FakeClock.h"
#include "support/FakeProgramEnd.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedRandom.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace kelvrast::testing {

// The main window on fakes, with its working folder in a fresh temporary folder.
struct WindowUnderTest {
    TempFolder folder;
    FakeClock clock;
    ScriptedRandom random{{0.25f}};
    PosixFiles files;
    ScriptedDialogs dialogs;
    FakeProgramEnd programEnd;
    FakeBeep beep;
    MainWindow window{Platform{clock, random, files, dialogs, programEnd, beep}, folder.path() / "kelvrast"};

    WindowUnderTest() { random.repeatLast = true; }

    template <typename Widget = QWidget> Widget* control(const char* name) {
        auto* found = window.findChild<Widget*>(QLatin1String(name));
        EXPECT_TRUE(found) << "no control " << name;
        return found;
    }

    // Shows the window and makes it the active one, as a student's click on it would.
    void showActive() {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

inline QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(none)");
}

} // namespace kelvrast::testing
