#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/PictureBox.h"
#include "platform/ProgramEnd.h"
#include "platform/RandomSource.h"
#include "platform/TextBoxes.h"

namespace kelvrast {

// Everything the program's logic needs from the machine and the window system.
struct Platform {
    Clock& clock;
    RandomSource& random;
    Files& files;
    Dialogs& dialogs;
    TextBoxes& boxes;
    PictureBox& picture1;
    PictureBox& picture2;
    ProgramEnd& programEnd;
};

} // namespace kelvrast
