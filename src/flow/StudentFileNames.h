#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvrast {

// The file name part of the student's name: every blank replaced by "_", nothing else changed.
std::u16string fileNamePart(std::u16string_view name);

// Why a name cannot be made into the answer files' names, in plain words; nothing when it can.
// Refused: characters that no system allows in a file name, control characters, half of a surrogate pair, and
// names too long for a file name of 255 bytes in UTF-8.
std::optional<std::u16string> nameProblem(std::u16string_view name);

} // namespace kelvrast
