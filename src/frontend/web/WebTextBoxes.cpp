#include "frontend/web/WebTextBoxes.h"

#include "form/Form.h"
#include "frontend/web/Page.h"

namespace kelvrast {
namespace {

// A text box's value holds its line breaks as LF; the program's texts have them as CR LF.
std::u16string withCrLf(std::u16string_view pageText) {
    std::u16string text;
    text.reserve(pageText.size());
    for (std::size_t at = 0; at < pageText.size(); ++at) {
        const char16_t each = pageText[at];
        if (each == u'\r' && at + 1 < pageText.size() && pageText[at + 1] == u'\n')
            continue; // the LF that follows brings the pair
        if (each == u'\n' || each == u'\r')
            text += u"\r\n";
        else
            text += each;
    }
    return text;
}

void show(const form::ControlHandle& box, const std::u16string& text, bool undoable) {
    kelvrast_page_set_text(static_cast<int>(box.row), text.c_str(), undoable ? 1 : 0);
}

} // namespace

void WebTextBoxes::setQuestionText(std::u16string_view text) {
    question_ = withCrLf(text);
    show(form::questionBox, question_, false);
}

void WebTextBoxes::setAnswerText(std::u16string_view text) {
    answer_ = withCrLf(text);
    show(form::answerBox, answer_, false);
}

void WebTextBoxes::replaceAnswerUndoably(std::u16string_view text) {
    answer_ = withCrLf(text);
    show(form::answerBox, answer_, true);
}

bool WebTextBoxes::changedOnPage(std::size_t row, std::u16string_view text) {
    if (row == form::questionBox.row)
        question_ = withCrLf(text);
    else if (row == form::answerBox.row)
        answer_ = withCrLf(text);
    else
        return false;
    return true;
}

} // namespace kelvrast
