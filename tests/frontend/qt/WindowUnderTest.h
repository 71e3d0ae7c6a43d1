#pragma once

#include "form/Form.h"
#include "frontend/qt/MainWindow.h"
#include "frontend/qt/QtText.h"
#include "support/FakeBeep.h"
#include "support/FakeClock.h"
#include "support/FakeProgramEnd.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedRandom.h"
#include "support/TempFolder.h"
#include "system/posix/PosixFiles.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace kelvrast::form {

// Parameterised tests name a control by its object name.
inline void PrintTo(const Control& control, std::ostream* out) {
    *out << control.objectName();
}

} // namespace kelvrast::form

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
    template <typename Widget = QWidget> Widget* control(const form::Control& row) {
        return control<Widget>(row.objectName().c_str());
    }

    // Shows the window and makes it the active one, as a student's click on it would.
    void showActive() {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

// What the form's table says, in Qt's terms.
inline QRect pixels(const form::TwipsRect& twips) {
    const form::TwipsRect shown = form::pixelsAt96Dpi(twips);
    return QRect(shown.left, shown.top, shown.width, shown.height);
}

inline QSize clientSize() {
    return pixels({0, 0, form::clientWidthTwips, form::clientHeightTwips}).size();
}

// Every control of the form that is a widget of the window: all but the timer.
inline std::vector<form::Control> placedControls() {
    std::vector<form::Control> placed;
    for (const form::Control& each : form::controls())
        if (each.kind != form::Kind::timer)
            placed.push_back(each);
    return placed;
}

inline QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(none)");
}

} // namespace kelvrast::testing
