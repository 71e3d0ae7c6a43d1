// The floor for the Windows program's launch: a bare Win32 program that only asks for a name in a modal input
// dialog titled "kelvrast", built from a template in memory, and ends when it is answered.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace {

constexpr WORD promptId = 100;
constexpr WORD nameId = 101;

// A DLGTEMPLATE and its items, each item aligned on a DWORD.
class DialogTemplate {
public:
    DialogTemplate(const wchar_t* title, short width, short height) {
        DLGTEMPLATE dialog{};
        dialog.style = DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        dialog.cx = width;
        dialog.cy = height;
        append(&dialog, sizeof dialog);
        appendWord(0); // no menu
        appendWord(0); // the standard dialog class
        appendText(title);
        appendWord(9);
        appendText(L"Segoe UI");
    }

    void add(WORD id, WORD atom, DWORD style, short x, short y, short cx, short cy, const wchar_t* text) {
        align();
        DLGITEMTEMPLATE item{};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        append(&item, sizeof item);
        appendWord(0xFFFF);
        appendWord(atom);
        appendText(text);
        appendWord(0); // no creation data
        ++reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit;
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    void append(const void* data, std::size_t size) {
        const auto* from = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), from, from + size);
    }
    void appendWord(WORD word) { append(&word, sizeof word); }
    void appendText(const wchar_t* text) {
        do
            appendWord(static_cast<WORD>(*text));
        while (*text++);
    }
    void align() {
        while (bytes_.size() % 4)
            bytes_.push_back(0);
    }

    std::vector<std::uint8_t> bytes_;
};

INT_PTR CALLBACK answer(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    DialogTemplate dialog(L"kelvrast", 220, 62);
    dialog.add(promptId, 0x0082, SS_LEFT, 7, 7, 206, 10, L"Your full name:  ");
    dialog.add(nameId, 0x0081, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 20, 206, 14, L"");
    dialog.add(IDOK, 0x0080, BS_DEFPUSHBUTTON | WS_TABSTOP, 109, 41, 50, 14, L"OK");
    dialog.add(IDCANCEL, 0x0080, BS_PUSHBUTTON | WS_TABSTOP, 163, 41, 50, 14, L"Cancel");
    DialogBoxIndirectParamW(instance, dialog.get(), nullptr, answer, 0);
    return 0;
}
