#pragma once

#include "platform/RandomSource.h"

#include <string>

namespace kelvrast {

// The random code line that opens every assignment header: codeNbr body characters (118 to 255), each
// possibly preceded by one filler character (66 to 116).
std::string makeCodeLine(float codeNbr, RandomSource& random);

} // namespace kelvrast
