#include "frontend/win32/DialogTemplate.h"

namespace kelvrast {

DialogTemplate::DialogTemplate(std::wstring_view caption, short width, short height) {
    // DLGTEMPLATE: style, extended style, number of controls, x, y, cx, cy; then menu, class, caption, font.
    put(static_cast<DWORD>(DS_SHELLFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU));
    put(DWORD{0});
    countAt_ = words_.size();
    put(WORD{0});
    put(WORD{0});
    put(WORD{0});
    put(static_cast<WORD>(width));
    put(static_cast<WORD>(height));
    put(WORD{0}); // no menu
    put(WORD{0}); // the dialog class
    put(caption);
    put(WORD{8}); // points
    put(L"MS Shell Dlg");
}

void DialogTemplate::add(WORD classAtom, DWORD style, short x, short y, short width, short height, int id,
                         std::wstring_view text) {
    alignToDword();
    put(static_cast<DWORD>(style | WS_CHILD | WS_VISIBLE));
    put(DWORD{0});
    put(static_cast<WORD>(x));
    put(static_cast<WORD>(y));
    put(static_cast<WORD>(width));
    put(static_cast<WORD>(height));
    put(static_cast<WORD>(id));
    put(WORD{0xFFFF});
    put(classAtom);
    put(text);
    put(WORD{0}); // no creation data
    ++words_[countAt_];
}

void DialogTemplate::put(std::wstring_view text) {
    for (wchar_t c : text)
        put(static_cast<WORD>(c));
    put(WORD{0});
}

} // namespace kelvrast
