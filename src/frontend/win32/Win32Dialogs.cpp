#include "frontend/win32/Win32Dialogs.h"

#include "frontend/win32/DialogTemplate.h"
#include "frontend/win32/WideText.h"

#include <string>

namespace kelvrast {

namespace {

// What one dialog shows and what the student typed into it.
struct DialogRun {
    std::wstring text;
    bool withInput = false;
    std::u16string typed;
};

// The text lies in a static control as wide as the dialog; a text taller than the room the template gives it
// makes the dialog taller, and what lies below the text moves down with it.
void fitText(HWND dialog, const std::wstring& text) {
    HWND prompt = ::GetDlgItem(dialog, Win32Dialogs::promptId);
    RECT place{};
    ::GetWindowRect(prompt, &place);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    HDC dc = ::GetDC(prompt);
    const HGDIOBJ before = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(prompt, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, place.right - place.left, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    ::SelectObject(dc, before);
    ::ReleaseDC(prompt, dc);
    const int grow = needed.bottom - (place.bottom - place.top);
    if (grow <= 0)
        return;
    ::SetWindowPos(prompt, nullptr, 0, 0, place.right - place.left, needed.bottom, SWP_NOMOVE | SWP_NOZORDER);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (child == prompt)
            continue;
        RECT at{};
        ::GetWindowRect(child, &at);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&at), 2);
        ::SetWindowPos(child, nullptr, at.left, at.top + grow, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    RECT frame{};
    ::GetWindowRect(dialog, &frame);
    ::SetWindowPos(dialog, nullptr, frame.left, frame.top - grow / 2, frame.right - frame.left,
                   frame.bottom - frame.top + grow, SWP_NOZORDER);
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* run = reinterpret_cast<DialogRun*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        run = reinterpret_cast<DialogRun*>(lParam);
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        ::SetDlgItemTextW(dialog, Win32Dialogs::promptId, run->text.c_str());
        fitText(dialog, run->text);
        if (run->withInput) {
            ::SendDlgItemMessageW(dialog, Win32Dialogs::inputId, EM_SETLIMITTEXT, 0, 0);
            ::SetFocus(::GetDlgItem(dialog, Win32Dialogs::inputId));
            return FALSE;
        }
        ::SendMessageW(dialog, DM_SETDEFID, Win32Dialogs::firstId, 0);
        ::SetFocus(::GetDlgItem(dialog, Win32Dialogs::firstId));
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (run->withInput)
                run->typed = windowText(::GetDlgItem(dialog, Win32Dialogs::inputId));
            ::EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
        case Win32Dialogs::firstId:
        case Win32Dialogs::secondId:
            ::EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR run(HWND owner, const DialogTemplate& layout, DialogRun& run) {
    return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), layout.get(), owner, &dialogProcedure,
                                     reinterpret_cast<LPARAM>(&run));
}

} // namespace

// Cancel, the close box and Esc give the empty text; so does a dialog that could not be shown at all.
std::u16string Win32Dialogs::inputText(std::u16string_view prompt) {
    DialogTemplate layout(title, 240, 66);
    layout.add(DialogTemplate::staticClass, SS_LEFT | SS_NOPREFIX, 7, 7, 226, 10, promptId, L"");
    layout.add(DialogTemplate::editClass, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 22, 226, 14, inputId, L"");
    layout.add(DialogTemplate::buttonClass, BS_DEFPUSHBUTTON | WS_TABSTOP, 129, 45, 50, 14, IDOK, L"OK");
    layout.add(DialogTemplate::buttonClass, BS_PUSHBUTTON | WS_TABSTOP, 183, 45, 50, 14, IDCANCEL, L"Cancel");
    DialogRun shown{.text = wideText(prompt), .withInput = true, .typed = {}};
    if (run(owner_, layout, shown) != IDOK)
        return {};
    return shown.typed;
}

void Win32Dialogs::message(std::u16string_view text) {
    ::MessageBoxW(owner_, wideText(text).c_str(), title, MB_OK);
}

// The first answer is the default button; Esc and the close box choose the second, as its Cancel would.
bool Win32Dialogs::choose(std::u16string_view text, std::u16string_view first, std::u16string_view second) {
    DialogTemplate layout(title, 280, 52);
    layout.add(DialogTemplate::staticClass, SS_LEFT | SS_NOPREFIX, 7, 7, 266, 16, promptId, L"");
    layout.add(DialogTemplate::buttonClass, BS_DEFPUSHBUTTON | WS_TABSTOP, 97, 31, 85, 14, firstId, captionText(first));
    layout.add(DialogTemplate::buttonClass, BS_PUSHBUTTON | WS_TABSTOP, 188, 31, 85, 14, secondId, captionText(second));
    DialogRun shown{.text = wideText(text), .withInput = false, .typed = {}};
    return run(owner_, layout, shown) == firstId;
}

} // namespace kelvrast
