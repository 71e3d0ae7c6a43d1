#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvrast::codepage {

// The program's texts are 8-bit Windows-1252. The five bytes that Windows-1252 leaves undefined
// (0x81 0x8D 0x8F 0x90 0x9D) map to the control characters of the same number, so every byte survives
// a round trip through the screen.

// The text as the screen shows it.
std::u16string toUnicode(std::string_view bytes);

struct Encoded {
    std::string bytes; // the text in Windows-1252, "?" in place of what it cannot hold
    // Each character it could not hold, as the screen shows it (a lone surrogate on its own), once, in order of
    // first appearance.
    std::vector<std::u16string> unmappable;
};

// The text in Windows-1252.
Encoded fromUnicode(std::u16string_view text);

// A to Z made a to z, every other byte left as it is. The C library's case functions depend on the locale,
// which would read the Windows-1252 bytes in an encoding of its own.
constexpr char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string lowerAscii(std::string_view text);

} // namespace kelvrast::codepage
