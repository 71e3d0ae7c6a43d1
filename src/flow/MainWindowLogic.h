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

class PendulumDisplay;

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

    // Public operations.
    void readNextQuestion();
    std::string code(const std::string& a, float codeNbr) const;
    Status codeFile();
    Result<std::string> decode(const std::string& a, float codeNbr) const;
    std::string remSpaces(const std::string& a) const;
    std::string makeCodeLine(float codeNbr);

    // The windows' events. A click of the control in this row of the form's table: a command button runs its
    // command, every other control does nothing.
    void controlClicked(std::size_t row);
    void run(form::Command command);
    // The student closed the window through its frame.
    void windowClosed();

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
    MainWindowState& state() { return state_; }

private:
    void guarded(const std::function<void()>& handler);

    Platform platform_;
    std::filesystem::path workingFolder_;
    MainWindowState state_;
    std::unique_ptr<PendulumDisplay> pendulum_;
};

} // namespace kelvrast
