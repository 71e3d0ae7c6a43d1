#include "coding/LineCoding.h"

#include "coding/Rounding.h"

#include <string>

namespace kelvrast {

namespace {

constexpr int blank = 32;
constexpr int hyphen = 45;
constexpr int lowestMiddle = 66;
constexpr int highestMiddle = 118;

// The code a character is turned into, before rounding; only meaningful outside the middle band.
double shiftedCode(int c, float codeNbr) {
    if (c < lowestMiddle)
        return (c + 209.0) - codeNbr;
    return (c - static_cast<double>(codeNbr)) - 100.0;
}

Failure codeOutOfRange() {
    return Status::failure(u"The text cannot be decoded: one of its characters would turn into a character code "
                           u"outside 0 to 255.");
}

} // namespace

std::string code(const std::string& a, float /*codeNbr*/) {
    return a;
}

Result<std::string> decode(const std::string& a, float codeNbr) {
    std::string decoded;
    decoded.reserve(a.size());
    for (char ch : a) {
        const int c = static_cast<unsigned char>(ch);
        if (c == blank) {
            decoded += ' ';
            continue;
        }
        if (c >= lowestMiddle && c <= highestMiddle)
            continue;
        const double rounded = roundHalfEven(shiftedCode(c, codeNbr));
        // Written so that a NaN code number fails as well.
        if (!(rounded >= 0.0 && rounded <= 255.0))
            return codeOutOfRange();
        decoded += static_cast<char>(static_cast<unsigned char>(rounded));
    }
    return decoded;
}

std::string remSpaces(const std::string& a) {
    std::string kept;
    kept.reserve(a.size());
    for (char ch : a) {
        if (ch != blank && ch != hyphen)
            kept += ch;
    }
    return kept;
}

} // namespace kelvrast
