#pragma once

#include "form/Form.h"
#include "frontend/win32/WideText.h"
#include "frontend/win32/Win32MainWindow.h"
#include "support/FakeBeep.h"
#include "support/FakeClock.h"
#include "support/FakeProgramEnd.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedRandom.h"
#include "support/TempFolder.h"
#include "system/windows/Win32Files.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace kelvrast::testing {

// One keystroke as the system posts it: the message, the key, and whether Alt is down meanwhile (lParam bit 29).
struct KeyStroke {
    UINT message;
    UINT key;
    bool altDown = false;
};

// Keystrokes posted to the target as the system would post them, with the given keys held down meanwhile (bit 29 of
// lParam tells that Alt is down); the keyboard state is put back once handleMessages has handled them.
inline void pressKeyStrokes(HWND target, const std::vector<KeyStroke>& strokes, const std::vector<int>& held,
                            const std::function<void()>& handleMessages) {
    BYTE saved[256];
    ::GetKeyboardState(saved);
    BYTE state[256];
    std::memcpy(state, saved, sizeof state);
    for (int each : held)
        state[each] |= 0x80;
    ::SetKeyboardState(state);
    for (const auto& stroke : strokes) {
        const UINT scan = ::MapVirtualKeyW(stroke.key, MAPVK_VK_TO_VSC);
        const bool up = stroke.message == WM_KEYUP || stroke.message == WM_SYSKEYUP;
        const LPARAM flags = 1 | (static_cast<LPARAM>(scan) << 16) | (stroke.altDown ? 0x20000000 : 0) |
                             (up ? static_cast<LPARAM>(0xC0000000u) : 0);
        ::PostMessageW(target, stroke.message, stroke.key, flags);
    }
    handleMessages();
    ::SetKeyboardState(saved);
}

// The Windows window on fakes, with its working folder in a fresh temporary folder. Keys go to the focused control
// as the system would post them and are handled by the program's own message step.
struct Win32WindowUnderTest {
    TempFolder folder;
    FakeClock clock;
    ScriptedRandom random{{0.25f}};
    Win32Files files;
    ScriptedDialogs dialogs;
    FakeProgramEnd programEnd;
    FakeBeep beep;
    Win32MainWindow window;

    explicit Win32WindowUnderTest(Win32MainWindow::Controls made = Win32MainWindow::Controls::withTheWindow)
        : window{Platform{clock, random, files, dialogs, programEnd, beep}, folder.path() / "kelvrast", made} {
        random.repeatLast = true;
    }

    // Start-up for a student of this name, then the window shown.
    void startAndShow(const std::u16string& name = u"Ann Lee") {
        dialogs.inputs.push_back(name);
        ASSERT_TRUE(window.load().ok());
        window.show(SW_SHOWNORMAL);
        pump();
    }

    HWND control(const char* name) {
        HWND found = window.control(name);
        EXPECT_TRUE(found) << "no control " << name;
        return found;
    }

    // Every message waiting in the queue, through the program's own message step.
    void pump() {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            window.processMessage(message);
    }

    // One key pressed and let go on the focused control, with the given keys held down meanwhile.
    void press(UINT key, std::initializer_list<int> held = {}) {
        pressStrokes(std::vector<KeyStroke>{{WM_KEYDOWN, key}, {WM_KEYUP, key}}, std::vector<int>(held));
    }

    // Keystrokes posted to the focused control as the system would, with the given keys held down meanwhile; then
    // every message handled.
    void pressStrokes(const std::vector<KeyStroke>& strokes, const std::vector<int>& held) {
        pressKeyStrokes(::GetFocus(), strokes, held, [this] { pump(); });
    }

    // The object name of the control that holds the focus.
    std::string focusName() {
        HWND focused = ::GetFocus();
        for (const form::Control& each : form::controls())
            if (HWND made = window.control(each.objectName()); made && (made == focused || ::IsChild(made, focused)))
                return each.objectName();
        return focused == window.handle() ? "(the window)" : "(none)";
    }

    bool checked(const char* name) { return ::SendMessageW(control(name), BM_GETCHECK, 0, 0) == BST_CHECKED; }
};

} // namespace kelvrast::testing
