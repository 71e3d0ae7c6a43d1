#include "frontend/win32/Win32Dialogs.h"
#include "frontend/win32/WideText.h"
#include "frontend/win32/Win32ProgramEnd.h"
#include "frontend/win32/Win32Window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kelvrast::testing {
namespace {

// The owner of the dialogs under test. A modal dialog's own loop sends its owner WM_ENTERIDLE once it waits for
// input, with the dialog's handle: the student's part is played then, with no timer and no waiting.
class Student : public Win32Window {
public:
    std::function<void(HWND dialog)> act;

    Student() {
        WNDCLASSEXW windowClass{};
        windowClass.lpszClassName = L"KelvrastTestOwner";
        registerClass(windowClass);
        create(0, windowClass.lpszClassName, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, 0);
    }

private:
    LRESULT respond(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && act) {
            auto acting = std::move(act);
            act = nullptr;
            acting(reinterpret_cast<HWND>(lParam));
            return 0;
        }
        return ::DefWindowProcW(handle(), message, wParam, lParam);
    }
};

void press(HWND dialog, int id) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

TEST(Win32Dialogs, TheInputDialogShowsThePromptAsGivenAndReturnsWhatWasTyped) {
    Student student;
    Win32Dialogs dialogs(student.handle());
    std::u16string caption, prompt;
    student.act = [&](HWND dialog) {
        caption = windowText(dialog);
        prompt = windowText(::GetDlgItem(dialog, Win32Dialogs::promptId));
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, Win32Dialogs::inputId));
        ::SetDlgItemTextW(dialog, Win32Dialogs::inputId, L"Zo\u00eb \u00c5ngstr\u00f6m-Lee");
        press(dialog, IDOK);
    };
    EXPECT_EQ(dialogs.inputText(u"Your full name:  "), u"Zo\u00eb \u00c5ngstr\u00f6m-Lee");
    EXPECT_EQ(caption, u"kelvrast");
    EXPECT_EQ(prompt, u"Your full name:  ");
}

TEST(Win32Dialogs, CancelGivesTheEmptyTextWhateverWasTyped) {
    Student student;
    Win32Dialogs dialogs(student.handle());
    student.act = [&](HWND dialog) {
        ::SetDlgItemTextW(dialog, Win32Dialogs::inputId, L"half a name");
        press(dialog, IDCANCEL);
    };
    EXPECT_EQ(dialogs.inputText(u"Your full name:  "), u"");
}

TEST(Win32Dialogs, ChooseHasTwoButtonsCaptionedAsGivenTheFirstTheDefault) {
    for (const bool pickFirst : {true, false}) {
        Student student;
        Win32Dialogs dialogs(student.handle());
        std::u16string first, second, question;
        LRESULT defaultId = 0;
        student.act = [&](HWND dialog) {
            question = windowText(::GetDlgItem(dialog, Win32Dialogs::promptId));
            first = windowText(::GetDlgItem(dialog, Win32Dialogs::firstId));
            second = windowText(::GetDlgItem(dialog, Win32Dialogs::secondId));
            defaultId = LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0));
            press(dialog, pickFirst ? Win32Dialogs::firstId : Win32Dialogs::secondId);
        };
        EXPECT_EQ(dialogs.choose(u"Record it?\n\nOr not.", u"Record with \"?\" & go", u"Go back"), pickFirst);
        EXPECT_EQ(question, u"Record it?\n\nOr not.");
        EXPECT_EQ(first, u"Record with \"?\" && go") << "\"&\" shown as it is, not as an access key";
        EXPECT_EQ(second, u"Go back");
        EXPECT_EQ(defaultId, Win32Dialogs::firstId);
    }
}

TEST(Win32Dialogs, EscapeOrTheCloseBoxChoosesTheSecondAnswer) {
    Student student;
    Win32Dialogs dialogs(student.handle());
    student.act = [&](HWND dialog) { ::SendMessageW(dialog, WM_CLOSE, 0, 0); };
    EXPECT_FALSE(dialogs.choose(u"Record it?", u"Yes", u"No"));
}

// The message box is the system's own, whose loop under Wine sends its owner no WM_ENTERIDLE: it is answered from
// a hook instead, when it is activated. The posted OK is handled by the box's own loop.
std::u16string messageBoxCaption;

LRESULT CALLBACK answerMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t className[16] = {};
    if (code == HCBT_ACTIVATE && ::GetClassNameW(reinterpret_cast<HWND>(wParam), className, 16) &&
        std::wstring(className) == L"#32770") {
        HWND box = reinterpret_cast<HWND>(wParam);
        messageBoxCaption = windowText(box);
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Win32Dialogs, AMessageIsCaptionedWithTheApplicationsTitle) {
    Student student;
    Win32Dialogs dialogs(student.handle());
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, &answerMessageBox, nullptr, ::GetCurrentThreadId());
    ASSERT_TRUE(hook);
    dialogs.message(u"The question bank has no further entries.");
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(messageBoxCaption, u"kelvrast");
}

// WM_QUIT posted before the loop runs would end the next modal dialog at once.
TEST(Win32ProgramEnd, OutsideTheLoopItKeepsTheStatusAndPostsNoQuit) {
    Student student;
    ::ShowWindow(student.handle(), SW_SHOWNORMAL);
    Win32ProgramEnd end;
    end.setWindow(student.handle());
    end.endProgram(3);
    EXPECT_EQ(end.exitStatus(), 3);
    EXPECT_FALSE(::IsWindowVisible(student.handle()));
    MSG message{};
    EXPECT_FALSE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(Win32ProgramEnd, InTheLoopItPostsQuitWithTheStatusAndKeepsTheFirstEnd) {
    Win32ProgramEnd end;
    end.setLoopRunning(true);
    end.endProgram(0);
    end.endProgram(1);
    EXPECT_EQ(end.exitStatus(), 0);
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

} // namespace
} // namespace kelvrast::testing
