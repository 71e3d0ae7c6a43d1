#include "flow/NumberText.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
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
    // The number in decimal; "0" for zero.
    std::string decimal() const {
        BigNumber rest = *this;
        std::string digits;
        do {
            std::uint32_t chunk = rest.divideBy(1'000'000'000);
            for (int i = 0; i < 9; ++i, chunk /= 10) {
                digits.insert(digits.begin(), static_cast<char>('0' + chunk % 10));
            }
        } while (!rest.isZero());
        const std::size_t first = digits.find_first_not_of('0');
        return first == std::string::npos ? "0" : digits.substr(first);
    }

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
    // Divides by divisor and gives the remainder.
    std::uint32_t divideBy(std::uint32_t divisor) {
        std::uint64_t remainder = 0;
        for (std::size_t i = limbs_.size(); i-- > 0;) {
            const std::uint64_t part = remainder << 32 | limbs_[i];
            limbs_[i] = static_cast<std::uint32_t>(part / divisor);
            remainder = part % divisor;
        }
        trim();
        return static_cast<std::uint32_t>(remainder);
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

// A decimal number: its digits, the first not 0, times ten to the power tens.
struct Decimal {
    std::string digits;
    std::int64_t tens = 0;
};

// Every finite double is a whole number times a power of two, and so has a finite decimal expansion: this one,
// exact, for a positive double.
Decimal exactDecimal(double value) {
    int exponent = 0;
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(std::frexp(value, &exponent), 64));
    exponent -= 64;
    BigNumber number;
    number.multiplyAdd(1, static_cast<std::uint32_t>(mantissa >> 32));
    number.shiftLeft(32);
    number.multiplyAdd(1, static_cast<std::uint32_t>(mantissa));
    Decimal exact;
    if (exponent >= 0) {
        number.shiftLeft(static_cast<std::size_t>(exponent));
    } else {
        // mantissa / 2^n is mantissa * 5^n / 10^n.
        for (int i = 0; i < -exponent; ++i) {
            number.multiplyAdd(5, 0);
        }
        exact.tens = exponent;
    }
    exact.digits = number.decimal();
    while (exact.digits.size() > 1 && exact.digits.back() == '0') {
        exact.digits.pop_back();
        ++exact.tens;
    }
    return exact;
}

// The digits plus or minus one in their last place; empty when that leaves none.
std::string stepped(std::string digits, int step) {
    std::size_t i = digits.size();
    while (i-- > 0) {
        if (step > 0 && digits[i] == '9') {
            digits[i] = '0';
        } else if (step < 0 && digits[i] == '0') {
            digits[i] = '9';
        } else {
            digits[i] = static_cast<char>(digits[i] + step);
            break;
        }
    }
    if (i == std::string::npos) {
        digits.insert(digits.begin(), '1');
    }
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? "" : digits;
}

// The fewest significant digits that read back as value, and of those the nearest to it: the exact digits rounded
// to 1, 2, ... places, ties to even, or their neighbours in the last place.
Decimal shortestDecimal(double value) {
    const Decimal exact = exactDecimal(value);
    for (std::size_t places = 1; places < exact.digits.size(); ++places) {
        std::string rounded = exact.digits.substr(0, places);
        const char next = exact.digits[places];
        const bool past = exact.digits.find_first_not_of('0', places + 1) != std::string::npos;
        if (next > '5' || (next == '5' && (past || (rounded.back() - '0') % 2 != 0))) {
            rounded = stepped(rounded, 1);
        }
        const std::int64_t tens = exact.tens + static_cast<std::int64_t>(exact.digits.size() - places);
        for (int step : {0, -1, 1}) {
            Decimal candidate{step == 0 ? rounded : stepped(rounded, step), tens};
            if (candidate.digits.empty() || nearestDouble(candidate.digits, tens) != value) {
                continue;
            }
            // 9.6 rounded to one place is 10: one digit and a zero.
            while (candidate.digits.back() == '0') {
                candidate.digits.pop_back();
                ++candidate.tens;
            }
            return candidate;
        }
    }
    return exact;
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
    const char* sign = std::signbit(value) ? "-" : " ";
    if (!std::isfinite(value)) {
        return sign + std::string(std::isnan(value) ? "nan" : "inf");
    }
    // Fixed notation in its shortest round-trip form: whole numbers carry no decimal point or exponent. A whole
    // number beyond a double's 53 bits is written exactly, as printf's "%.0f" writes it.
    const double magnitude = std::fabs(value);
    Decimal number = magnitude < 0x1p53 ? shortestDecimal(magnitude) : exactDecimal(magnitude);
    std::string digits = number.digits;
    if (number.tens >= 0) {
        digits.append(static_cast<std::size_t>(number.tens), '0');
    } else {
        // No leading zeros: 0.5 is written .5
        const std::int64_t point = static_cast<std::int64_t>(digits.size()) + number.tens;
        if (point > 0) {
            digits.insert(static_cast<std::size_t>(point), 1, '.');
        } else {
            digits.insert(0, "." + std::string(static_cast<std::size_t>(-point), '0'));
        }
    }
    return sign + digits;
}

} // namespace kelvrast
