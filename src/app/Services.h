#pragma once

#include "platform/Beep.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/ProgramEnd.h"
#include "platform/RandomSource.h"

#include <filesystem>

namespace kelvrast {

// What the window hands on to the program's logic besides its own controls.
struct Services {
    Clock& clock;
    RandomSource& random;
    Files& files;
    Dialogs& dialogs;
    ProgramEnd& programEnd;
    Beep& beep;
    std::filesystem::path workingFolder;
};

} // namespace kelvrast
