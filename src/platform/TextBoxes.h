#pragma once

#include <string>
#include <string_view>

namespace kelvrast {

// The window's Question box and Answer box, read whole and replaced whole. Texts are what the screen shows,
// in UTF-16, with every line break written as CR LF.
class TextBoxes {
public:
    virtual ~TextBoxes() = default;

    virtual std::u16string questionText() const = 0;
    virtual void setQuestionText(std::u16string_view text) = 0;
    virtual std::u16string answerText() const = 0;
    virtual void setAnswerText(std::u16string_view text) = 0;
    // Replaces the Answer box's text as one edit that Undo takes back, so nothing typed is lost for good.
    virtual void replaceAnswerUndoably(std::u16string_view text) = 0;
};

} // namespace kelvrast
