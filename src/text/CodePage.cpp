#include "text/CodePage.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace kelvrast::codepage {

namespace {

// Bytes 0x80 to 0x9F; everything else in Windows-1252 has the code point of its byte value.
constexpr std::array<char16_t, 32> highControls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

constexpr unsigned firstHigh = 0x80;
constexpr unsigned afterHigh = 0xA0;

char16_t unicodeOf(unsigned char byte) {
    if (byte >= firstHigh && byte < afterHigh)
        return highControls[byte - firstHigh];
    return byte;
}

// The byte for a code point, or -1 when Windows-1252 has none.
int byteOf(char32_t codePoint) {
    if (codePoint < firstHigh || (codePoint >= afterHigh && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (std::size_t i = 0; i < highControls.size(); ++i) {
        if (highControls[i] == codePoint)
            return static_cast<int>(firstHigh + i);
    }
    return -1;
}

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The code point starting at text[i], and how many units it takes; a lone surrogate stands for itself.
char32_t codePointAt(std::u16string_view text, std::size_t i, std::size_t& units) {
    if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
        units = 2;
        return 0x10000 + ((static_cast<char32_t>(text[i]) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    }
    units = 1;
    return text[i];
}

} // namespace

std::u16string toUnicode(std::string_view bytes) {
    // Sized once and filled by index: long files are shown through here.
    std::u16string text(bytes.size(), u'\0');
    std::transform(bytes.begin(), bytes.end(), text.begin(),
                   [](char byte) { return unicodeOf(static_cast<unsigned char>(byte)); });
    return text;
}

Encoded fromUnicode(std::u16string_view text) {
    Encoded encoded;
    encoded.bytes.reserve(text.size());
    std::size_t units = 1;
    for (std::size_t i = 0; i < text.size(); i += units) {
        const char32_t codePoint = codePointAt(text, i, units);
        const int byte = byteOf(codePoint);
        if (byte >= 0) {
            encoded.bytes += static_cast<char>(static_cast<unsigned char>(byte));
            continue;
        }
        encoded.bytes += '?';
        const std::u16string_view character = text.substr(i, units);
        if (std::find(encoded.unmappable.begin(), encoded.unmappable.end(), character) == encoded.unmappable.end())
            encoded.unmappable.emplace_back(character);
    }
    return encoded;
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = lowerAscii(c);
    return lower;
}

} // namespace kelvrast::codepage
