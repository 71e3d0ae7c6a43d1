#include "program/RunProgram.h"

#include "system/DraftFolder.h"
#include "system/SystemClock.h"
#include "system/SystemDraftStore.h"
#include "system/SystemFiles.h"
#include "system/WorkingFolder.h"
#include "system/shared/MersenneRandom.h"

namespace kelvrast {

int runProgram(FrontEnd& frontEnd) {
    SystemClock clock;
    MersenneRandom random;
    SystemFiles files;
    SystemDraftStore drafts(draftFolder());
    const std::unique_ptr<ProgramWindow> window = frontEnd.makeWindow(Platform{.clock = clock,
                                                                               .random = random,
                                                                               .files = files,
                                                                               .dialogs = frontEnd.dialogs(),
                                                                               .programEnd = frontEnd.programEnd(),
                                                                               .beep = frontEnd.beep(),
                                                                               .drafts = &drafts},
                                                                      workingFolder());

    // Start-up asks for the name before the window is shown, and a failure ends the run without showing it.
    const Status started = window->load();
    if (!started.ok()) {
        frontEnd.dialogs().message(started.message());
        return 1;
    }
    if (const std::optional<int> ended = frontEnd.exitStatus())
        return *ended;

    window->show();
    const int status = window->runEventLoop();
    return frontEnd.exitStatus().value_or(status);
}

} // namespace kelvrast
