// The leading-number parser on any text, and its partner numberText: whatever is read is finite and is written
// back as text that reads as the same number.
#include "FuzzSupport.h"

#include "flow/NumberText.h"

#include <cmath>

using namespace kelvrast;

namespace {

// Where the number would start: after leading blanks and one sign.
std::size_t numberStart(std::string_view text, bool& negative) {
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string_view::npos)
        return text.size();
    negative = text[at] == '-';
    if (text[at] == '+' || text[at] == '-')
        ++at;
    return at;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytesOf(data, size);
    const double value = leadingNumberValue(text);
    fuzz::require(std::isfinite(value), "the value is finite");
    fuzz::require(!(value == 0 && std::signbit(value)), "the value is never a negative zero");

    bool negative = false;
    const std::size_t start = numberStart(text, negative);
    if (value != 0) {
        const char first = text[start];
        fuzz::require((first >= '0' && first <= '9') || first == '.', "a value comes from digits");
        fuzz::require(std::signbit(value) == negative, "the value has the text's sign");
    }

    const std::string written = numberText(value);
    fuzz::require(written[0] == (value < 0 ? '-' : ' '), "numberText starts with the sign or a blank");
    fuzz::require(leadingNumberValue(written) == value, "numberText reads back as the same number");
    return 0;
}
