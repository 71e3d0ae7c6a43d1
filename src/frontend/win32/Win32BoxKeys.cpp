#include "frontend/win32/Win32BoxKeys.h"

#include <commctrl.h>

namespace kelvrast {

namespace {

bool keyDown(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

// Every text box: Tab moves the focus even where the program's own loop does not see the key first (the large boxes
// want every key), Ctrl+A selects the whole text, which the system's EDIT does not do by itself, and Escape does
// nothing. A multi-line EDIT that IsDialogMessageW has asked for its dialog code takes itself to be in a dialog, and
// there answers Escape by posting WM_CLOSE to its parent (Windows and Wine alike): here that is the frame's close,
// and the program would end with the half-typed answer.
LRESULT CALLBACK boxProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR focus) {
    auto* keys = reinterpret_cast<Win32Focus*>(focus);
    const bool plainKey = !keyDown(VK_CONTROL) && !keyDown(VK_MENU);
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_TAB && plainKey) {
            keys->move(keyDown(VK_SHIFT));
            return 0;
        }
        if (wParam == 'A' && keyDown(VK_CONTROL) && !keyDown(VK_MENU)) {
            ::SendMessageW(edit, EM_SETSEL, 0, -1);
            return 0;
        }
        if (wParam == VK_ESCAPE)
            return 0;
        break;
    case WM_CHAR:
        // The characters those keys make: a tab, Ctrl+A's 0x01 and Escape's 0x1B.
        if ((wParam == L'\t' && plainKey) || wParam == 0x01 || wParam == 0x1B)
            return 0;
        break;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(edit, &boxProcedure, 1);
        break;
    }
    return ::DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace

void keepKeysToTheForm(HWND box, Win32Focus& focus) {
    ::SetWindowSubclass(box, &boxProcedure, 1, reinterpret_cast<DWORD_PTR>(&focus));
}

} // namespace kelvrast
