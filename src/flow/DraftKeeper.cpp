#include "flow/DraftKeeper.h"

#include "text/MessageText.h"

namespace kelvrast {

DraftKeeper::DraftKeeper(DraftStore& store, Timer& timer, TextBoxes& boxes, Dialogs& dialogs)
    : store_(store), timer_(timer), boxes_(boxes), dialogs_(dialogs) {
    timer_.setTickHandler([this] { tick(); });
}

void DraftKeeper::restore(std::u16string_view studentName,
                          const std::function<bool(std::u16string_view answer)>& recorded) {
    studentName_ = studentName;
    fileName_ = draftFileName(studentName);
    writer_.emplace(store_);
    Result<std::string> bytes = store_.read(fileName_);
    if (!bytes.ok()) {
        if (!bytes.status().isNotFound())
            tell(u"The text you were typing when the program last ended could not be read, so it is not back in "
                 u"the boxes. " +
                 bytes.status().message());
        return;
    }
    Result<Draft> draft = parseDraft(bytes.value());
    if (draft.ok() && draft.value().studentName != studentName_)
        draft = Status::failure(u"it belongs to another name");
    if (!draft.ok())
        return dialogs_.message(u"A draft of typed text was found in " + pathText(path()) +
                                u", but it is not put back: " + draft.status().message() +
                                u". The next text you type takes its place.");
    // Recorded by a run killed before it could remove the draft: a record empties both boxes.
    if (recorded(draft.value().answer))
        return discard();
    boxes_.setQuestionText(draft.value().question);
    boxes_.setAnswerText(draft.value().answer);
    questionTyped_ = !draft.value().question.empty();
    dialogs_.message(u"The text you were typing when the program last ended is back in the boxes where you typed it. "
                     u"It is not recorded yet: click \"Enter Response\" or \"Save as Notes\" to record it.");
}

void DraftKeeper::boxesChanged(bool questionBox) {
    if (!writer_)
        return;
    questionTyped_ = questionTyped_ || questionBox;
    changed_ = true;
    timer_.setEnabled(true);
}

void DraftKeeper::discard() {
    if (!writer_)
        return;
    changed_ = false;
    questionTyped_ = false;
    writer_->remove(fileName_);
    timer_.setEnabled(true); // to hear how it went
}

// A Question box the student never typed in holds only the program's text, which is not kept.
void DraftKeeper::answerCleared() {
    if (!writer_)
        return;
    if (!questionTyped_ || boxes_.questionText().empty())
        return discard();
    changed_ = true;
    timer_.setEnabled(true);
}

void DraftKeeper::keepNow() {
    if (!writer_)
        return;
    if (changed_)
        handOver();
    writer_->waitUntilDone();
    tick();
}

std::filesystem::path DraftKeeper::path() const {
    return fileName_.empty() ? fileName_ : store_.pathOf(fileName_);
}

// The timer runs while the boxes have changes to hand over or the writer is at work, and then stops with a word
// about any failure.
void DraftKeeper::tick() {
    if (changed_)
        return handOver();
    if (writer_->busy())
        return;
    timer_.setEnabled(false);
    if (std::optional<Status> failure = writer_->takeFailure())
        tell(u"What you type can no longer be kept as a draft, so it would be lost if the program ended before you "
             u"record it. Recording goes on as before. " +
             failure->message());
}

// Boxes emptied by the student leave nothing to bring back.
void DraftKeeper::handOver() {
    changed_ = false;
    Draft draft{studentName_, boxes_.questionText(), boxes_.answerText()};
    if (draft.question.empty() && draft.answer.empty())
        writer_->remove(fileName_);
    else
        writer_->keep(fileName_, draftBytes(draft));
}

void DraftKeeper::tell(const std::u16string& text) {
    if (told_)
        return;
    told_ = true;
    dialogs_.message(text);
}

} // namespace kelvrast
