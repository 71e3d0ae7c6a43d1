#pragma once

#include <optional>
#include <string>

namespace kelvrast {

// The file name part of the student's name (UTF-8): every blank replaced by "_", nothing else changed.
std::string fileNamePart(const std::string& name);

// Why a name cannot be made into the answer files' names, in plain words; nothing when it can.
// Refused: characters that no system allows in a file name, control characters, and names too long.
std::optional<std::string> nameProblem(const std::string& name);

} // namespace kelvrast
