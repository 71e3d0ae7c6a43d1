#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

namespace kelvrast {

// A dialog template in memory, for DialogBoxIndirectParamW: the dialog in dialog units, with the shell's dialog
// font, and its controls in tab order.
class DialogTemplate {
public:
    DialogTemplate(std::wstring_view caption, short width, short height);

    // A control of one of the system's classes, given by its atom (0x0080 button, 0x0081 edit, 0x0082 static).
    void add(WORD classAtom, DWORD style, short x, short y, short width, short height, int id, std::wstring_view text);

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

    static constexpr WORD buttonClass = 0x0080;
    static constexpr WORD editClass = 0x0081;
    static constexpr WORD staticClass = 0x0082;

private:
    void put(WORD word) { words_.push_back(word); }
    void put(DWORD value) {
        put(LOWORD(value));
        put(HIWORD(value));
    }
    void put(std::wstring_view text);
    void alignToDword() {
        if (words_.size() % 2)
            put(WORD{0});
    }

    std::vector<WORD> words_;
    std::size_t countAt_ = 0;
};

} // namespace kelvrast
