#pragma once

#include "flow/Draft.h"
#include "flow/DraftWriter.h"
#include "platform/Dialogs.h"
#include "platform/DraftStore.h"
#include "platform/TextBoxes.h"
#include "platform/Timer.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kelvrast {

// Keeps what the student types in the Question and Answer boxes as a draft, so that a kill, a crash, a power cut or
// the frame's close does not take it: at most a second after the last change it is on the disk, and the next start
// under the same name puts it back. A keystroke only marks the boxes as changed; the timer reads them a moment
// later on the window's thread, and the writer's thread waits for the disk.
class DraftKeeper {
public:
    // How long after a change the timer reads the boxes; the writer takes what is left of the second.
    static constexpr int timerMilliseconds = 250;

    DraftKeeper(DraftStore& store, Timer& timer, TextBoxes& boxes, Dialogs& dialogs);

    // At start, once the student's name is known and the resume scan is done: the student's draft back in the boxes
    // it was typed into, with a word to the student; a draft whose answer recorded tells is already in the files
    // goes instead.
    void restore(std::u16string_view studentName, const std::function<bool(std::u16string_view answer)>& recorded);
    // The student changed a box.
    void boxesChanged(bool questionBox);
    // The boxes' text is recorded or emptied: the draft goes.
    void discard();
    // The Answer box alone was emptied: a draft keeps what is left in the Question box.
    void answerCleared();
    // The boxes' text on the disk before this returns, for the program's end.
    void keepNow();

    // Where this run's draft lives; empty before restore().
    std::filesystem::path path() const;

private:
    void tick();
    void handOver();
    // The student hears of the first failure of the run only.
    void tell(const std::u16string& text);

    DraftStore& store_;
    Timer& timer_;
    TextBoxes& boxes_;
    Dialogs& dialogs_;
    std::u16string studentName_;
    std::filesystem::path fileName_;
    bool changed_ = false;
    bool questionTyped_ = false; // the draft holds the student's text in the Question box
    bool told_ = false;
    std::optional<DraftWriter> writer_;
};

} // namespace kelvrast
