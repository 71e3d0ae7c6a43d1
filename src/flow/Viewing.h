#pragma once

#include "flow/MainWindowState.h"
#include "platform/Platform.h"

namespace kelvrast {

// "Clear": empties the Answer box, as one edit that Undo takes back.
void clearAnswer(Platform& platform);

// "display notes": appends the notes file to the Question box, a line break before every line.
void displayNotes(MainWindowState& state, Platform& platform);

// "display SEND file": appends the SEND file to the Question box, a line break before every line.
void displaySendFile(const MainWindowState& state, Platform& platform);

} // namespace kelvrast
