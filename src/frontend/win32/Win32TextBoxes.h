#pragma once

#include "platform/TextBoxes.h"

#include <windows.h>

#include <string>

namespace kelvrast {

// The Question box and the Answer box, two multi-line EDIT controls. An EDIT holds its line breaks as CR LF, the
// program's own form, so what the program reads is what the box holds.
class Win32TextBoxes : public TextBoxes {
public:
    Win32TextBoxes(HWND question, HWND answer) : question_{question, {}}, answer_{answer, {}} {}

    // The two boxes, where they are made after the logic that reads them. What start-up put in them before (a
    // draft brought back) goes in now.
    void attach(HWND question, HWND answer);

    std::u16string questionText() const override;
    void setQuestionText(std::u16string_view text) override;
    std::u16string answerText() const override;
    void setAnswerText(std::u16string_view text) override;
    void replaceAnswerUndoably(std::u16string_view text) override;

    // A lone CR or a lone LF (a line of a file may hold one) made a CR LF: an EDIT would show either as no line
    // break at all and give it back unchanged, where the Linux window breaks the line and gives back CR LF.
    static std::wstring forEdit(std::u16string_view text);

private:
    // One box, or until it is made, the text the program gave it.
    struct Box {
        HWND control;
        std::u16string waiting;

        std::u16string text() const;
        void setText(std::u16string_view text);
    };
    Box question_;
    Box answer_;
};

} // namespace kelvrast
