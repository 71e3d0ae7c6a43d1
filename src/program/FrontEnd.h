#pragma once

#include "platform/Beep.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/ProgramEnd.h"
#include "platform/Status.h"

#include <filesystem>
#include <memory>
#include <optional>

namespace kelvrast {

// The program's one window, as the program's life sees it.
class ProgramWindow {
public:
    virtual ~ProgramWindow() = default;

    // Start-up: the name prompt, the answer files and the resume scan. A failure carries the message to show.
    virtual Status load() = 0;
    // Shows the window, which from then on owns the program's dialogs.
    virtual void show() = 0;
    // Handles the window's events until the program ends; returns the event loop's own status.
    virtual int runEventLoop() = 0;
};

// What the program needs of a window system: its own services, and the window built from the form's table over the
// logic.
class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    virtual Dialogs& dialogs() = 0;
    virtual ProgramEnd& programEnd() = 0;
    virtual Beep& beep() = 0;
    // The status the program ended with, once it has ended, also before the event loop ran.
    virtual std::optional<int> exitStatus() const = 0;

    // The window, hidden, with the logic over the machine's services and the window's own controls.
    virtual std::unique_ptr<ProgramWindow> makeWindow(Platform machine, std::filesystem::path workingFolder) = 0;
};

// A front end that owns its window system's services; ProgramEndOfSystem keeps the status the program ended with.
template <typename DialogsOfSystem, typename ProgramEndOfSystem, typename BeepOfSystem>
class FrontEndWith : public FrontEnd {
public:
    Dialogs& dialogs() override { return dialogs_; }
    ProgramEnd& programEnd() override { return programEnd_; }
    Beep& beep() override { return beep_; }
    std::optional<int> exitStatus() const override { return programEnd_.exitStatus(); }

protected:
    DialogsOfSystem dialogs_{nullptr}; // no owner window until the window is shown
    ProgramEndOfSystem programEnd_;
    BeepOfSystem beep_;
};

} // namespace kelvrast
