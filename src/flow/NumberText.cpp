#include "flow/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace kelvrast {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::size_t skipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
    }
    return pos;
}

bool hasNonZeroDigit(std::string_view digits) {
    for (char c : digits) {
        if (c >= '1' && c <= '9') {
            return true;
        }
    }
    return false;
}

} // namespace

double leadingNumberValue(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    // Only plain digits with an optional fraction get this far, so from_chars never sees "nan", "inf",
    // hexadecimal or an exponent.
    const std::size_t start = pos;
    const std::size_t integerEnd = skipDigits(text, start);
    std::size_t end = integerEnd;
    if (end < text.size() && text[end] == '.') {
        end = skipDigits(text, end + 1);
    }
    const bool anyDigit = integerEnd > start || end > integerEnd + 1;
    if (!anyDigit) {
        return 0.0;
    }

    double value = 0.0;
    const std::string_view number = text.substr(start, end - start);
    const auto [ptr, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)ptr;
    if (error == std::errc::result_out_of_range) {
        const bool tooLarge = hasNonZeroDigit(text.substr(start, integerEnd - start));
        value = tooLarge ? std::numeric_limits<double>::max() : 0.0;
    } else if (error != std::errc{}) {
        return 0.0;
    }
    if (value == 0.0) {
        return 0.0; // never a negative zero
    }
    return negative ? -value : value;
}

std::string numberText(double value) {
    if (value == 0.0) {
        return " 0";
    }
    // Fixed notation in its shortest round-trip form: whole numbers carry no decimal point or exponent.
    std::array<char, 512> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value), std::chars_format::fixed);
    std::string digits = error == std::errc{} ? std::string(buffer.data(), end) : std::string("0");
    if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
        digits.erase(0, 1); // no leading zeros: 0.5 is written .5
    }
    return (std::signbit(value) ? "-" : " ") + digits;
}

} // namespace kelvrast
