#pragma once

#include "platform/Status.h"

#include <string>

namespace kelvrast {

// Returns a new text equal to a; answer-file lines are stored as they were typed.
std::string code(const std::string& a, float codeNbr);

// Sorts each character into a band and shifts, keeps or drops it. Fails, with no partial text, when a
// computed character code lies outside 0 to 255.
Result<std::string> decode(const std::string& a, float codeNbr);

// Returns a without its blanks and hyphens.
std::string remSpaces(const std::string& a);

} // namespace kelvrast
