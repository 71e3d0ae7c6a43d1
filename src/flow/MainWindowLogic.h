#pragma once

#include "flow/MainWindowState.h"
#include "form/Form.h"
#include "platform/Platform.h"
#include "platform/Status.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace kelvrast {

class DraftKeeper;
class PendulumDisplay;
namespace testing {
struct LogicState;
}

// The main window's state and every operation of the program, free of any window system: the window
// forwards its events here, and this talks to the machine only through the platform interfaces.
class MainWindowLogic {
public:
    // The platform must hold the window's controls.
    MainWindowLogic(Platform platform, std::filesystem::path workingFolder);
    ~MainWindowLogic();
    MainWindowLogic(const MainWindowLogic&) = delete;
    MainWindowLogic& operator=(const MainWindowLogic&) = delete;

    // Start-up, once, before the window is shown. A failure carries the message to show; the window
    // must then not be shown and the program ends with a non-zero status.
    Status load();

    // Shows the next entry of the question bank. The coding operations (code, decode, remSpaces, makeCodeLine,
    // codeFile) are public where they live, in coding/.
    void readNextQuestion();

    // How often the window's draft timer ticks, in milliseconds.
    static int draftTimerMilliseconds();

    // The windows' events. A click of the control in this row of the form's table: a command button runs its
    // command, every other control does nothing.
    void controlClicked(std::size_t row);
    void run(form::Command command);
    // The student changed the text of the control in this row of the form's table.
    void controlChanged(std::size_t row);
    // The student closed the window through its frame.
    void windowClosed();

    // The text of both large boxes on the disk as this run's draft before this returns, as the program's end does.
    void keepDraftNow();
    // Where this run's draft lives; empty while drafts are not kept or before start-up.
    std::filesystem::path draftPath() const;

    // One handler for each command.
    void nextQuestionClicked();
    void enterResponseClicked();
    void saveAsNotesClicked();
    void clearClicked();
    void displayNotesClicked();
    void displaySendFileClicked();
    void quitClicked();
    void pendExpClicked();

    const MainWindowState& state() const { return state_; }

private:
    // Tests set up a run's state directly; windows only read it.
    friend struct testing::LogicState;

    // Runs a command: an unexpected error is reported, and the boxes' changes it makes are the program's own, no
    // typing of the student's.
    void guarded(const std::function<void()>& handler);
    // After a command: the draft goes once the boxes' text is recorded or emptied.
    void discardDraft();

    Platform platform_;
    std::filesystem::path workingFolder_;
    MainWindowState state_;
    std::unique_ptr<PendulumDisplay> pendulum_;
    std::unique_ptr<DraftKeeper> drafts_;
    bool inCommand_ = false;
};

} // namespace kelvrast
