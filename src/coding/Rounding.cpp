#include "coding/Rounding.h"

#include <cmath>

namespace kelvrast {

// nearbyint follows the current rounding mode, which the program never changes from round-to-nearest-even.
double roundHalfEven(double value) {
    return std::nearbyint(value);
}

} // namespace kelvrast
