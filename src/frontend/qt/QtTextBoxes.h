#pragma once

#include "platform/TextBoxes.h"

class QPlainTextEdit;

namespace kelvrast {

// The Question box and the Answer box of the window. The program sees every line break as CR LF, whether the
// student typed Enter or Shift+Enter; the widgets hold plain line feeds.
class QtTextBoxes : public TextBoxes {
public:
    QtTextBoxes(QPlainTextEdit& question, QPlainTextEdit& answer);

    std::u16string questionText() const override;
    void setQuestionText(std::u16string_view text) override;
    std::u16string answerText() const override;
    void setAnswerText(std::u16string_view text) override;
    void replaceAnswerUndoably(std::u16string_view text) override;

private:
    QPlainTextEdit& question_;
    QPlainTextEdit& answer_;
};

} // namespace kelvrast
