#include "frontend/win32/Win32TextBoxes.h"

#include "frontend/win32/WideText.h"

#include <utility>

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

std::u16string Win32TextBoxes::Box::text() const {
    return control ? windowText(control) : waiting;
}

void Win32TextBoxes::Box::setText(std::u16string_view text) {
    if (control)
        ::SetWindowTextW(control, forEdit(text).c_str());
    else
        waiting = text;
}

void Win32TextBoxes::attach(HWND question, HWND answer) {
    for (auto [box, made] : {std::pair{&question_, question}, std::pair{&answer_, answer}}) {
        box->control = made;
        if (!box->waiting.empty())
            box->setText(std::exchange(box->waiting, {}));
    }
}

std::u16string Win32TextBoxes::questionText() const {
    return question_.text();
}

void Win32TextBoxes::setQuestionText(std::u16string_view text) {
    question_.setText(text);
}

std::u16string Win32TextBoxes::answerText() const {
    return answer_.text();
}

void Win32TextBoxes::setAnswerText(std::u16string_view text) {
    answer_.setText(text);
}

// The whole text selected and replaced with fUndo TRUE: one edit that EM_UNDO (Ctrl+Z) takes back.
void Win32TextBoxes::replaceAnswerUndoably(std::u16string_view text) {
    if (!answer_.control)
        return answer_.setText(text);
    ::SendMessageW(answer_.control, EM_SETSEL, 0, -1);
    ::SendMessageW(answer_.control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(forEdit(text).c_str()));
}

} // namespace kelvrast
