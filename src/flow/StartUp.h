#pragma once

#include "flow/MainWindowState.h"
#include "platform/Platform.h"

#include <filesystem>

namespace kelvrast {

// The first half of start-up: code number, picture scales, working folder, the student's name and the file
// paths made from it, the assignment numbers, the answer prompt, the SEND file and the question bank.
// Its steps after the picture scales are guarded: one that fails is passed over silently. The one failure it
// answers is a working folder that cannot be reached, before the name is asked: then nothing can be recorded.
Status beginAssignment(MainWindowState& state, Platform& platform, const std::filesystem::path& workingFolder);

// Pads an assignment number to three characters: "1" gives "001", "12" gives "012".
std::string padAssignmentNumber(const std::string& number);

extern const char* const answerPromptText;

} // namespace kelvrast
