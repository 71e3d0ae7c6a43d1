#pragma once

#include "flow/MainWindowState.h"
#include "platform/Platform.h"

namespace kelvrast {

// "Enter Response": an answer record to the master and SEND files.
void enterResponse(MainWindowState& state, Platform& platform);

// "Save as Notes": a notes record to the master, SEND and notes files.
void saveAsNotes(MainWindowState& state, Platform& platform);

// Whether the master file's last record holds this text of the Answer box, as an answer or a note: a run killed
// once the record was in, before it could say so, left it there.
bool lastRecordHolds(const MainWindowState& state, Files& files, std::u16string_view answer);

} // namespace kelvrast
