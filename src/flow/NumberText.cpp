#include "flow/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>
#include <vector>

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

// A whole number of any size, in 32-bit limbs from the lowest up: just enough to divide one by another exactly.
class BigNumber {
public:
    void multiplyAdd(std::uint32_t factor, std::uint32_t addend) {
        std::uint64_t carry = addend;
        for (std::uint32_t& limb : limbs_) {
            carry += std::uint64_t{limb} * factor;
            limb = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(carry));
        }
    }
    void shiftLeft(std::size_t bits) {
        limbs_.insert(limbs_.begin(), bits / 32, 0);
        if (bits % 32 != 0) {
            multiplyAdd(std::uint32_t{1} << (bits % 32), 0);
        }
    }
    // Subtracts other when it is not larger; tells whether it did.
    bool subtractIfNotLess(const BigNumber& other) {
        if (compare(other) < 0) {
            return false;
        }
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            std::int64_t difference =
                std::int64_t{limbs_[i]} - borrow - (i < other.limbs_.size() ? other.limbs_[i] : 0);
            borrow = difference < 0 ? 1 : 0;
            limbs_[i] = static_cast<std::uint32_t>(difference + (borrow << 32));
        }
        trim();
        return true;
    }
    std::size_t bitLength() const {
        if (limbs_.empty()) {
            return 0;
        }
        std::size_t bits = 32 * (limbs_.size() - 1);
        for (std::uint32_t top = limbs_.back(); top != 0; top >>= 1) {
            ++bits;
        }
        return bits;
    }
    bool isZero() const { return limbs_.empty(); }

private:
    int compare(const BigNumber& other) const {
        if (limbs_.size() != other.limbs_.size()) {
            return limbs_.size() < other.limbs_.size() ? -1 : 1;
        }
        for (std::size_t i = limbs_.size(); i-- > 0;) {
            if (limbs_[i] != other.limbs_[i]) {
                return limbs_[i] < other.limbs_[i] ? -1 : 1;
            }
        }
        return 0;
    }
    void trim() {
        while (!limbs_.empty() && limbs_.back() == 0) {
            limbs_.pop_back();
        }
    }

    std::vector<std::uint32_t> limbs_;
};

// The double nearest to digits times ten to the power tens, ties to even; infinity when it is too large for one.
// Whole-number arithmetic alone, so that every system gives the same double (not every standard library reads
// a floating-point number with from_chars, and strtod depends on the C locale and on the C library).
double nearestDouble(std::string digits, std::int64_t tens) {
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        return 0.0;
    }
    digits.erase(0, first);
    while (digits.back() == '0') {
        digits.pop_back();
        ++tens;
    }
    // The value lies below ten to the power magnitude and at or above a tenth of it.
    const std::int64_t magnitude = static_cast<std::int64_t>(digits.size()) + tens;
    if (magnitude > 310) {
        return std::numeric_limits<double>::infinity();
    }
    if (magnitude < -330) {
        return 0.0;
    }
    // 768 significant digits decide any rounding; those past them count only as being there, by a last 1.
    constexpr std::size_t decisive = 800;
    if (digits.size() > decisive) {
        tens += static_cast<std::int64_t>(digits.size() - decisive) - 1;
        digits.resize(decisive);
        digits.push_back('1');
    }
    BigNumber numerator;
    for (char digit : digits) {
        numerator.multiplyAdd(10, static_cast<std::uint32_t>(digit - '0'));
    }
    BigNumber denominator;
    denominator.multiplyAdd(1, 1);
    for (std::int64_t i = 0; i < (tens < 0 ? -tens : tens); ++i) {
        (tens < 0 ? denominator : numerator).multiplyAdd(10, 0);
    }
    // Scaled by a power of two into [1, 2): the value is numerator / denominator times two to the power exponent.
    std::int64_t exponent =
        static_cast<std::int64_t>(numerator.bitLength()) - static_cast<std::int64_t>(denominator.bitLength());
    (exponent > 0 ? denominator : numerator).shiftLeft(static_cast<std::size_t>(exponent > 0 ? exponent : -exponent));
    if (!numerator.subtractIfNotLess(denominator)) {
        numerator.shiftLeft(1);
        --exponent;
        numerator.subtractIfNotLess(denominator);
    }
    // 64 bits of the quotient, the leading 1 included, and whether anything is left past them.
    std::uint64_t quotient = 1;
    for (int bit = 0; bit < 63; ++bit) {
        numerator.shiftLeft(1);
        quotient = quotient << 1 | (numerator.subtractIfNotLess(denominator) ? 1 : 0);
    }
    const bool more = !numerator.isZero();
    // A double holds 53 bits; fewer below its smallest normal exponent.
    const std::int64_t kept = exponent >= -1022 ? 53 : 53 + (exponent + 1022);
    if (kept < 0) {
        return 0.0;
    }
    const auto dropped = static_cast<int>(64 - kept);
    const std::uint64_t mantissa = dropped == 64 ? 0 : quotient >> dropped;
    const std::uint64_t rest = dropped == 64 ? quotient : quotient & ((std::uint64_t{1} << dropped) - 1);
    const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
    const bool up = rest > half || (rest == half && (more || (mantissa & 1) != 0));
    // Exact: the mantissa has at most 54 bits, all of them a double's.
    return std::ldexp(static_cast<double>(mantissa + (up ? 1 : 0)), static_cast<int>(exponent - kept + 1));
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

    // Only plain digits with an optional fraction are read: never "nan", "inf", hexadecimal or an exponent.
    const std::size_t start = pos;
    const std::size_t integerEnd = skipDigits(text, start);
    std::size_t end = integerEnd;
    std::size_t fractionStart = integerEnd;
    if (end < text.size() && text[end] == '.') {
        fractionStart = end + 1;
        end = skipDigits(text, fractionStart);
    }
    const bool anyDigit = integerEnd > start || end > fractionStart;
    if (!anyDigit) {
        return 0.0;
    }

    const std::string_view fraction = text.substr(fractionStart, end - fractionStart);
    double value = nearestDouble(std::string(text.substr(start, integerEnd - start)).append(fraction),
                                 -static_cast<std::int64_t>(fraction.size()));
    if (std::isinf(value)) {
        value = std::numeric_limits<double>::max();
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
