#pragma once

#include <string>
#include <string_view>

namespace kelvrast {

// The number that starts a text (leading blanks skipped, an optional sign, digits, an optional fraction),
// read as far as it goes; 0 when the text does not start with a number. Independent of the C locale.
double leadingNumberValue(std::string_view text);

// A number in decimal: a leading blank when it is not negative, a minus sign otherwise, no leading zeros,
// and no decimal point for a whole number.
std::string numberText(double value);

} // namespace kelvrast
