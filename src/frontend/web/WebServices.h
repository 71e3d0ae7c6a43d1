#pragma once

#include "frontend/web/Page.h"
#include "platform/Beep.h"
#include "platform/ProgramEnd.h"

#include <optional>

namespace kelvrast {

// The beep: a short tone that the page plays.
class WebBeep : public Beep {
public:
    void beep() override { kelvrast_page_beep(); }
};

// Ends the program's run of events. The page stays, with the student's files still to download; a page cannot close
// its own tab.
class WebProgramEnd : public ProgramEnd {
public:
    void endProgram(int exitStatus) override {
        if (!status_)
            status_ = exitStatus;
    }
    std::optional<int> exitStatus() const { return status_; }

private:
    std::optional<int> status_;
};

} // namespace kelvrast
