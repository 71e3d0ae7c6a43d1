#include "flow/MainWindowLogic.h"

#include "display/PendulumDisplay.h"
#include "flow/DraftKeeper.h"
#include "flow/Presentation.h"
#include "flow/Recording.h"
#include "flow/Resume.h"
#include "flow/StartUp.h"
#include "flow/Viewing.h"
#include "text/MessageText.h"

#include <exception>
#include <stdexcept>
#include <utility>

namespace kelvrast {

MainWindowLogic::MainWindowLogic(Platform platform, std::filesystem::path workingFolder)
    : platform_(platform), workingFolder_(std::move(workingFolder)) {
    if (!platform_.boxes || !platform_.picture1 || !platform_.picture2 || !platform_.pendulumTimer)
        throw std::invalid_argument("the logic is made before the window has added its controls");
    // The pendulum display draws from the same random generator as the rest of the run.
    pendulum_ = std::make_unique<PendulumDisplay>(*platform_.pendulumTimer, platform_.beep, platform_.random,
                                                  *platform_.picture1);
    if (platform_.drafts && platform_.draftTimer)
        drafts_ = std::make_unique<DraftKeeper>(*platform_.drafts, *platform_.draftTimer, *platform_.boxes,
                                                platform_.dialogs);
}

MainWindowLogic::~MainWindowLogic() = default;

int MainWindowLogic::draftTimerMilliseconds() {
    return DraftKeeper::timerMilliseconds;
}

Status MainWindowLogic::load() {
    const bool outer = std::exchange(inCommand_, true);
    state_.assignmentTitle = "qa fenwick";
    if (Status begun = beginAssignment(state_, platform_, workingFolder_); !begun.ok()) {
        inCommand_ = outer;
        return begun;
    }
    Status resumed = resumeAssignment(state_, platform_);
    if (resumed.ok() && drafts_)
        drafts_->restore(state_.studentName,
                         [&](std::u16string_view answer) { return lastRecordHolds(state_, platform_.files, answer); });
    inCommand_ = outer;
    if (!resumed.ok())
        return Status::failure(u"The program cannot start: the assignment could not be opened. " + resumed.message());
    return resumed;
}

void MainWindowLogic::readNextQuestion() {
    guarded([&] { kelvrast::readNextQuestion(state_, platform_); });
}

void MainWindowLogic::controlClicked(std::size_t row) {
    const auto table = form::controls();
    if (row < table.size() && table[row].command)
        run(*table[row].command);
}

void MainWindowLogic::run(form::Command command) {
    using form::Command;
    switch (command) {
    case Command::nextQuestion:
        return nextQuestionClicked();
    case Command::enterResponse:
        return enterResponseClicked();
    case Command::saveAsNotes:
        return saveAsNotesClicked();
    case Command::clear:
        return clearClicked();
    case Command::displayNotes:
        return displayNotesClicked();
    case Command::displaySendFile:
        return displaySendFileClicked();
    case Command::quit:
        return quitClicked();
    case Command::pendExp:
        return pendExpClicked();
    case Command::triggerTimer:
    case Command::makeParagraph:
        // Part of what the student sees, but without behaviour: "Trigger Timer" does not start the pendulum.
        return;
    }
}

// Only the two large boxes hold what the student types for the answer files.
void MainWindowLogic::controlChanged(std::size_t row) {
    const auto table = form::controls();
    if (inCommand_ || !drafts_ || row >= table.size() || !table[row].multiLine)
        return;
    drafts_->boxesChanged(row == form::questionBox.row);
}

// Closing asks nothing: the answer files already hold every record, and the draft keeps what is not recorded yet,
// for the student may mean to come back.
void MainWindowLogic::windowClosed() {
    keepDraftNow();
    platform_.programEnd.endProgram(0);
}

void MainWindowLogic::keepDraftNow() {
    if (drafts_)
        drafts_->keepNow();
}

std::filesystem::path MainWindowLogic::draftPath() const {
    return drafts_ ? drafts_->path() : std::filesystem::path();
}

// The typed answer makes way for the prompt or the next entry.
void MainWindowLogic::nextQuestionClicked() {
    guarded([&] { kelvrast::nextQuestionClicked(state_, platform_); });
    discardDraft();
}

void MainWindowLogic::enterResponseClicked() {
    guarded([&] { enterResponse(state_, platform_); });
    if (platform_.boxes->answerText().empty() && platform_.boxes->questionText().empty())
        discardDraft();
}

void MainWindowLogic::saveAsNotesClicked() {
    guarded([&] { saveAsNotes(state_, platform_); });
    if (platform_.boxes->answerText().empty() && platform_.boxes->questionText().empty())
        discardDraft();
}

void MainWindowLogic::clearClicked() {
    guarded([&] { clearAnswer(platform_); });
    if (drafts_)
        drafts_->answerCleared();
}

void MainWindowLogic::displayNotesClicked() {
    guarded([&] { displayNotes(state_, platform_); });
}

void MainWindowLogic::displaySendFileClicked() {
    guarded([&] { displaySendFile(state_, platform_); });
}

void MainWindowLogic::quitClicked() {
    keepDraftNow();
    platform_.programEnd.endProgram(0);
}

void MainWindowLogic::pendExpClicked() {
    pendulum_->pendExpClicked();
}

void MainWindowLogic::guarded(const std::function<void()>& handler) {
    const bool outer = std::exchange(inCommand_, true);
    // An unexpected error in one command is reported, and the student carries on.
    try {
        handler();
    } catch (const std::exception&) {
        platform_.dialogs.message(commandFailedText(std::current_exception()));
    }
    inCommand_ = outer;
}

void MainWindowLogic::discardDraft() {
    if (drafts_)
        drafts_->discard();
}

} // namespace kelvrast
