#pragma once

#include "platform/TextBoxes.h"

#include <string>

namespace kelvrast::testing {

// The two large boxes as plain strings; an undoable replacement keeps what it replaced.
class FakeTextBoxes : public TextBoxes {
public:
    std::u16string question;
    std::u16string answer;
    std::u16string undoneAnswer;

    std::u16string questionText() const override { return question; }
    void setQuestionText(std::u16string_view text) override { question = text; }
    std::u16string answerText() const override { return answer; }
    void setAnswerText(std::u16string_view text) override { answer = text; }
    void replaceAnswerUndoably(std::u16string_view text) override {
        undoneAnswer = answer;
        answer = text;
    }
};

} // namespace kelvrast::testing
