#pragma once

#include "platform/Beep.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/DraftStore.h"
#include "platform/Files.h"
#include "platform/PictureBox.h"
#include "platform/ProgramEnd.h"
#include "platform/RandomSource.h"
#include "platform/TextBoxes.h"
#include "platform/Timer.h"

namespace kelvrast {

// The services of the window's own controls, which every window gives once it has made them.
struct WindowServices {
    TextBoxes& boxes; // the Question and Answer boxes
    PictureBox& picture1;
    PictureBox& picture2;
    Timer& pendulumTimer; // tmr_pend_exp
    Timer& draftTimer;
};

// Everything the program needs from the machine and the window system, in one set for every front end. The
// program's start fills in the machine's services; the window adds the services of its own controls, once it has
// made them, before it makes the logic.
struct Platform {
    Clock& clock;
    RandomSource& random;
    Files& files;
    Dialogs& dialogs;
    ProgramEnd& programEnd;
    Beep& beep;

    // The window's controls.
    TextBoxes* boxes = nullptr;
    PictureBox* picture1 = nullptr;
    PictureBox* picture2 = nullptr;
    Timer* pendulumTimer = nullptr; // tmr_pend_exp

    // Drafts of what is being typed: kept only when the program gives a store and the window a timer of its own.
    DraftStore* drafts = nullptr;
    Timer* draftTimer = nullptr;

    // The machine's services together with the window's, for the logic.
    Platform with(const WindowServices& window) const {
        Platform whole = *this;
        whole.boxes = &window.boxes;
        whole.picture1 = &window.picture1;
        whole.picture2 = &window.picture2;
        whole.pendulumTimer = &window.pendulumTimer;
        whole.draftTimer = &window.draftTimer;
        return whole;
    }
};

} // namespace kelvrast
