#pragma once

#include "flow/MainWindowLogic.h"
#include "support/FakeBeep.h"
#include "support/FakeClock.h"
#include "support/FakePictureBox.h"
#include "support/FakeProgramEnd.h"
#include "support/FakeTextBoxes.h"
#include "support/FakeTimer.h"
#include "support/FaultyFiles.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedRandom.h"
#include "support/SystemFiles.h"
#include "support/TempFolder.h"

namespace kelvrast::testing {

// The program's logic on fakes, with real files in a temporary home folder.
struct LogicHarness {
    TempFolder home;
    FakeClock clock;
    ScriptedRandom random{{0.5f}};
    // What the logic draws from: the scripted numbers, unless the test hands in a generator of its own.
    RandomSource& generator = random;
    SystemFiles realFiles;
    FaultyFiles files{realFiles};
    ScriptedDialogs dialogs;
    FakeTextBoxes boxes;
    FakePictureBox picture1;
    FakePictureBox picture2;
    FakeProgramEnd programEnd;
    FakeBeep beep;
    FakeTimer pendulumTimer;
    Platform platform{clock, generator, files, dialogs, programEnd, beep, &boxes, &picture1, &picture2, &pendulumTimer};
    MainWindowLogic logic{platform, home.path() / "kelvrast"};

    LogicHarness() { random.repeatLast = true; }
    // Over other files than the system's.
    explicit LogicHarness(SystemFiles& inner) : files(inner) { random.repeatLast = true; }
    // Drawing from another generator, which start-up seeds as it seeds the program's own.
    explicit LogicHarness(RandomSource& source) : generator(source) {}

    std::filesystem::path folder() const { return home.path() / "kelvrast"; }
    const MainWindowState& state() const { return logic.state(); }

    // Starts the program for a student of the given name.
    Status start(const std::u16string& name) {
        dialogs.inputs.push_back(name);
        return logic.load();
    }
};

} // namespace kelvrast::testing
