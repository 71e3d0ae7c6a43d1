#include "frontend/win32/Win32Controls.h"

#include "frontend/win32/WideText.h"
#include "frontend/win32/Win32AccessibleRole.h"

#include <commctrl.h>
#include <oleacc.h>

#include <stdexcept>

namespace kelvrast {

namespace {

using form::Kind;

// A screen reader names an EDIT or a LISTBOX not by its own text but by the label (STATIC) just before it in z-order,
// visible or hidden, as Windows' documentation of Active Accessibility says. On this form the four visible labels
// come last and lie on top of everything, "Parameter 4" directly above the Question box: without a label of its own
// the Question box is "Parameter 4" everywhere, and the other boxes nameless on Windows and "Parameter 4" on Wine,
// which goes on back to the nearest label. Buttons and option buttons are named by their captions, the picture boxes
// by their window text.
bool namedByLabel(Kind kind) {
    return kind == Kind::textBox || kind == Kind::listBox;
}

// A hidden label with the control's spoken name, put directly above the control just put on top. Hidden, it neither
// shows nor takes a click, and leaves the visible controls' stacking as it was.
void addSpokenLabel(HWND parent, const std::wstring& name) {
    HWND label =
        ::CreateWindowExW(0, L"STATIC", name.c_str(), WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), ::GetModuleHandleW(nullptr), nullptr);
    if (!label)
        throw std::runtime_error("a control's label for screen readers could not be created");
    ::SetWindowPos(label, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The role a screen reader announces for each kind of control that answers for itself: those of Windows' own
// controls, and a picture for a picture box, which is a drawing and no area of text or controls.
long roleOf(Kind kind) {
    switch (kind) {
    case Kind::commandButton:
        return ROLE_SYSTEM_PUSHBUTTON;
    case Kind::optionButton:
        return ROLE_SYSTEM_RADIOBUTTON;
    case Kind::listBox:
        return ROLE_SYSTEM_LIST;
    case Kind::pictureBox:
        return ROLE_SYSTEM_GRAPHIC;
    default:
        return 0;
    }
}

} // namespace

HWND createChild(HWND parent, DWORD exStyle, const wchar_t* windowClass, const std::wstring& text, DWORD style,
                 int id) {
    HWND made = ::CreateWindowExW(
        exStyle, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP | style, 0, 0, 0, 0,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (!made)
        throw std::runtime_error("a control of the window could not be created");
    return made;
}

HWND createSystemControl(HWND parent, const form::Control& row, int id) {
    const std::wstring text = captionText(row.caption);
    switch (row.kind) {
    case Kind::commandButton:
        // Never BS_DEFPUSHBUTTON: the form has no default button.
        return createChild(parent, 0, L"BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, id);
    case Kind::optionButton:
        // The window keeps the two options exclusive itself: with WS_GROUP on each, as Tab must reach both,
        // BS_AUTORADIOBUTTON would see each as a group of its own.
        return createChild(parent, 0, L"BUTTON", text, WS_TABSTOP | BS_RADIOBUTTON, id);
    case Kind::textBox: {
        const DWORD lines = row.multiLine ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL;
        HWND made = createChild(parent, WS_EX_CLIENTEDGE, L"EDIT", std::wstring(row.caption.begin(), row.caption.end()),
                                WS_TABSTOP | ES_LEFT | lines, id);
        ::SendMessageW(made, EM_SETLIMITTEXT, 0, 0); // the largest the control can hold
        return made;
    }
    case Kind::listBox:
        // LBS_NOINTEGRALHEIGHT: the list keeps the height of the form, not a whole number of rows.
        return createChild(parent, WS_EX_CLIENTEDGE, L"LISTBOX", wideText(row.spokenName()),
                           WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, id);
    case Kind::label:
        // SS_NOPREFIX: the caption as it is, "&" too.
        return createChild(parent, 0, L"STATIC", wideText(row.caption), SS_LEFT | SS_NOPREFIX, id);
    case Kind::timer:
    case Kind::pictureBox:
        break;
    }
    throw std::logic_error("the window makes its timer and picture boxes itself");
}

void nameForScreenReaders(HWND parent, HWND control, const form::Control& row) {
    ::SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (namedByLabel(row.kind))
        addSpokenLabel(parent, wideText(row.spokenName()));
    if (const long role = roleOf(row.kind))
        answerWithRole(control, role);
}

// From the last up, each control made early goes under the next control of the table that exists. (Only the picture
// boxes are made early, and no hidden label goes with them.)
void stackInTableOrder(const std::vector<HWND>& controls, const std::vector<bool>& madeEarlier) {
    for (std::size_t row = controls.size(); row-- > 0;) {
        if (!madeEarlier[row] || !controls[row])
            continue;
        for (std::size_t next = row + 1; next < controls.size(); ++next) {
            if (controls[next]) {
                ::SetWindowPos(controls[row], controls[next], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                break;
            }
        }
    }
}

void addTooltips(HWND window, const std::vector<HWND>& controls, HWND& tooltips) {
    const auto table = form::controls();
    for (std::size_t i = 0; i < table.size() && i < controls.size(); ++i) {
        if (!table[i].narrow || !controls[i])
            continue;
        if (!tooltips)
            tooltips = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                         ::GetModuleHandleW(nullptr), nullptr);
        if (!tooltips)
            return;
        std::wstring text = wideText(table[i].caption);
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(controls[i]);
        tool.lpszText = text.data();
        ::SendMessageW(tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

} // namespace kelvrast
