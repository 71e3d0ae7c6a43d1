#include "coding/CodeLine.h"

#include "coding/Rounding.h"

namespace kelvrast {

namespace {

// r * scale + offset in single precision, rounded half to even. The product is rounded to single precision
// before the sum, so a fused multiply-add cannot change the code; the sum of two floats is exact in double,
// and narrowing it gives the single-precision sum.
char codeCharacter(float r, float scale, float offset) {
    const float product = r * scale;
    const float value = static_cast<float>(static_cast<double>(product) + static_cast<double>(offset));
    return static_cast<char>(static_cast<unsigned char>(roundHalfEven(value)));
}

} // namespace

std::string makeCodeLine(float codeNbr, RandomSource& random) {
    std::string line;
    for (long long i = 1; static_cast<double>(i) <= codeNbr; ++i) {
        const float r1 = random.next();
        if (r1 < 0.1f)
            line += codeCharacter(random.next(), 50.0f, 66.0f);
        line += codeCharacter(random.next(), 137.0f, 118.0f);
    }
    return line;
}

} // namespace kelvrast
