// decode, code and remSpaces on any text; the first four bytes are the code number's bits, so NaN, infinities
// and huge numbers come up as well as the usual 19 to 28.
#include "FuzzSupport.h"

#include "coding/LineCoding.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace kelvrast;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    float codeNbr = 19;
    if (size >= sizeof codeNbr) {
        std::memcpy(&codeNbr, data, sizeof codeNbr);
        data += sizeof codeNbr;
        size -= sizeof codeNbr;
    }
    const std::string text(fuzz::bytesOf(data, size));

    Result<std::string> decoded = decode(text, codeNbr);
    if (decoded.ok()) {
        const std::string& out = decoded.value();
        fuzz::require(out.size() <= text.size(), "decode never lengthens a text");
        fuzz::require(std::count(out.begin(), out.end(), ' ') >= std::count(text.begin(), text.end(), ' '),
                      "decode keeps every blank");
        if (std::isnan(codeNbr))
            fuzz::require(std::all_of(out.begin(), out.end(), [](char c) { return c == ' '; }),
                          "a NaN code number decodes nothing but blanks");
    } else {
        fuzz::require(!decoded.status().message().empty(), "a failed decode says why");
    }

    fuzz::require(code(text, codeNbr) == text, "code returns its text unchanged");
    const std::string kept = remSpaces(text);
    fuzz::require(kept.size() <= text.size(), "remSpaces never lengthens a text");
    fuzz::require(kept.find_first_of(" -") == std::string::npos, "remSpaces leaves no blank or hyphen");
    return 0;
}
