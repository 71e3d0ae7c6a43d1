#include "frontend/win32/Win32Dialogs.h"
#include "frontend/win32/Win32ProgramEnd.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kelvrast::testing {
namespace {

std::wstring textOf(HWND window) {
    std::wstring read(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    read.resize(static_cast<std::size_t>(::GetWindowTextW(window, read.data(), static_cast<int>(read.size()))));
    return read;
}

// The owner of the dialogs under test. A modal dialog's own loop sends its owner WM_ENTERIDLE once it waits for
// input, with the dialog's handle: the student's part is played then, with no timer and no waiting.
class Student {
public:
    std::function<void(HWND dialog)> act;
    HWND window = nullptr;

    Student() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &Student::procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KelvrastTestOwner";
        ::RegisterClassW(&windowClass);
        window = ::CreateWindowExW(0, L"KelvrastTestOwner", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                   nullptr, windowClass.hInstance, nullptr);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Student() { ::DestroyWindow(window); }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Student*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && self && self->act) {
            auto act = std::move(self->act);
            self->act = nullptr;
            act(reinterpret_cast<HWND>(lParam));
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
};

void press(HWND dialog, int id) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

TEST(Win32Dialogs, TheInputDialogShowsThePromptAsGivenAndReturnsWhatWasTyped) {
    Student student;
    Win32Dialogs dialogs(student.window);
    std::wstring caption, prompt;
    student.act = [&](HWND dialog) {
        caption = textOf(dialog);
        prompt = textOf(::GetDlgItem(dialog, Win32Dialogs::promptId));
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, Win32Dialogs::inputId));
        ::SetDlgItemTextW(dialog, Win32Dialogs::inputId, L"Zo\u00eb \u00c5ngstr\u00f6m-Lee");
        press(dialog, IDOK);
    };
    EXPECT_EQ(dialogs.inputText(u"Your full name:  "), u"Zo\u00eb \u00c5ngstr\u00f6m-Lee");
    EXPECT_EQ(caption, L"kelvrast");
    EXPECT_EQ(prompt, L"Your full name:  ");
}

TEST(Win32Dialogs, CancelGivesTheEmptyTextWhateverWasTyped) {
    Student student;
    Win32Dialogs dialogs(student.window);
    student.act = [&](HWND dialog) {
        ::SetDlgItemTextW(dialog, Win32Dialogs::inputId, L"half a name");
        press(dialog, IDCANCEL);
    };
    EXPECT_EQ(dialogs.inputText(u"Your full name:  "), u"");
}

TEST(Win32Dialogs, ChooseHasTwoButtonsCaptionedAsGivenTheFirstTheDefault) {
    for (const bool pickFirst : {true, false}) {
        Student student;
        Win32Dialogs dialogs(student.window);
        std::wstring first, second, question;
        LRESULT defaultId = 0;
        student.act = [&](HWND dialog) {
            question = textOf(::GetDlgItem(dialog, Win32Dialogs::promptId));
            first = textOf(::GetDlgItem(dialog, Win32Dialogs::firstId));
            second = textOf(::GetDlgItem(dialog, Win32Dialogs::secondId));
            defaultId = LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0));
            press(dialog, pickFirst ? Win32Dialogs::firstId : Win32Dialogs::secondId);
        };
        EXPECT_EQ(dialogs.choose(u"Record it?\n\nOr not.", u"Record with \"?\" & go", u"Go back"), pickFirst);
        EXPECT_EQ(question, L"Record it?\n\nOr not.");
        EXPECT_EQ(first, L"Record with \"?\" && go") << "\"&\" shown as it is, not as an access key";
        EXPECT_EQ(second, L"Go back");
        EXPECT_EQ(defaultId, Win32Dialogs::firstId);
    }
}

TEST(Win32Dialogs, EscapeOrTheCloseBoxChoosesTheSecondAnswer) {
    Student student;
    Win32Dialogs dialogs(student.window);
    student.act = [&](HWND dialog) { ::SendMessageW(dialog, WM_CLOSE, 0, 0); };
    EXPECT_FALSE(dialogs.choose(u"Record it?", u"Yes", u"No"));
}

// The message box is the system's own, whose loop under Wine sends its owner no WM_ENTERIDLE: it is answered from
// a hook instead, when it is activated. The posted OK is handled by the box's own loop.
std::wstring messageBoxCaption;

LRESULT CALLBACK answerMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t className[16] = {};
    if (code == HCBT_ACTIVATE && ::GetClassNameW(reinterpret_cast<HWND>(wParam), className, 16) &&
        std::wstring(className) == L"#32770") {
        HWND box = reinterpret_cast<HWND>(wParam);
        messageBoxCaption = textOf(box);
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Win32Dialogs, AMessageIsCaptionedWithTheApplicationsTitle) {
    Student student;
    Win32Dialogs dialogs(student.window);
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, &answerMessageBox, nullptr, ::GetCurrentThreadId());
    ASSERT_TRUE(hook);
    dialogs.message(u"The question bank has no further entries.");
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(messageBoxCaption, L"kelvrast");
}

// WM_QUIT posted before the loop runs would end the next modal dialog at once.
TEST(Win32ProgramEnd, OutsideTheLoopItKeepsTheStatusAndPostsNoQuit) {
    Student student;
    ::ShowWindow(student.window, SW_SHOWNORMAL);
    Win32ProgramEnd end;
    end.setWindow(student.window);
    end.endProgram(3);
    EXPECT_EQ(end.exitStatus(), 3);
    EXPECT_FALSE(::IsWindowVisible(student.window));
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
