#pragma once

#include <filesystem>

namespace kelvrast::unfinished {

// Beside the answer files the file layer keeps, for an append in flight, a note in a hidden folder of its own,
// under the file's own name. Start-up checks those paths too: a note the student cannot write stops every answer.

// The folder that holds the notes of the files in folder.
inline std::filesystem::path noteFolder(const std::filesystem::path& folder) {
    return folder / ".unfinished";
}

// The note of an answer file.
inline std::filesystem::path notePath(const std::filesystem::path& file) {
    return noteFolder(file.parent_path()) / file.filename();
}

} // namespace kelvrast::unfinished
