#pragma once

#include "flow/MainWindowState.h"
#include "platform/Platform.h"

namespace kelvrast {

// "Enter Response": an answer record to the master and SEND files.
void enterResponse(MainWindowState& state, Platform& platform);

// "Save as Notes": a notes record to the master, SEND and notes files.
void saveAsNotes(MainWindowState& state, Platform& platform);

} // namespace kelvrast
