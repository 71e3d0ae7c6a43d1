#pragma once

namespace kelvrast {

// Rounds to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

} // namespace kelvrast
