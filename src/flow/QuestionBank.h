#pragma once

#include "flow/MainWindowState.h"

namespace kelvrast {

// Fills the question bank with its fourteen entries at indexes 1 to 14, advancing bankIndex as it goes.
// Entries that name the working folder name state.folderPath.
void loadQuestionBank(MainWindowState& state);

} // namespace kelvrast
