#pragma once

#include "flow/MainWindowState.h"
#include "platform/Platform.h"
#include "platform/Status.h"

namespace kelvrast {

// The second half of start-up: places the bank at the assignment entry, scans the master file into the
// progress table and appends the assignment header to the master and SEND files. A failure carries the
// message to show; no file is then left holding part of a header.
Status resumeAssignment(MainWindowState& state, Platform& platform);

// Reads the master file's key lines into the progress table and returns the last line the file held
// (or lastLine unchanged when the file is empty). Key lines whose assignment or question lies outside the
// table are passed over like any other line.
Result<std::string> scanMasterFile(Files& files, const std::filesystem::path& masterFile, MainWindowState& state,
                                   std::string lastLine);

} // namespace kelvrast
