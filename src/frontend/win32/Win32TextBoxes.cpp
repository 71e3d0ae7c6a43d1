#include "frontend/win32/Win32TextBoxes.h"

#include "frontend/win32/WideText.h"

namespace kelvrast {

std::wstring Win32TextBoxes::forEdit(std::u16string_view text) {
    std::wstring made;
    made.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r') {
            made += L"\r\n";
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            made += L"\r\n";
        } else {
            made += static_cast<wchar_t>(c);
        }
    }
    return made;
}

std::u16string Win32TextBoxes::questionText() const {
    return windowText(question_);
}

void Win32TextBoxes::setQuestionText(std::u16string_view text) {
    ::SetWindowTextW(question_, forEdit(text).c_str());
}

std::u16string Win32TextBoxes::answerText() const {
    return windowText(answer_);
}

void Win32TextBoxes::setAnswerText(std::u16string_view text) {
    ::SetWindowTextW(answer_, forEdit(text).c_str());
}

// The whole text selected and replaced with fUndo TRUE: one edit that EM_UNDO (Ctrl+Z) takes back.
void Win32TextBoxes::replaceAnswerUndoably(std::u16string_view text) {
    ::SendMessageW(answer_, EM_SETSEL, 0, -1);
    ::SendMessageW(answer_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(forEdit(text).c_str()));
}

} // namespace kelvrast
