#pragma once

#include "platform/TextBoxes.h"

#include <cstddef>
#include <string>

namespace kelvrast {

// The Question and Answer boxes of the page. The page tells every change of a box's text, which is kept here, so
// the program reads a box without asking the page; a change the page made before the program last set that box is
// dropped before it comes here (page.js).
class WebTextBoxes : public TextBoxes {
public:
    std::u16string questionText() const override { return question_; }
    void setQuestionText(std::u16string_view text) override;
    std::u16string answerText() const override { return answer_; }
    void setAnswerText(std::u16string_view text) override;
    void replaceAnswerUndoably(std::u16string_view text) override;

    // The page's text of the box in this row, with its line breaks as the page writes them; false for another row.
    bool changedOnPage(std::size_t row, std::u16string_view text);

private:
    std::u16string question_;
    std::u16string answer_;
};

} // namespace kelvrast
