#pragma once

#include "text/CodePage.h"

#include <string>
#include <string_view>

namespace kelvrast {

// The screen's text of a box in the program's 8-bit code page, "?" for what it cannot hold.
inline std::string toProgramText(std::u16string_view screenText) {
    return codepage::fromUnicode(screenText).bytes;
}

// The program's 8-bit text as the screen shows it.
inline std::u16string toScreenText(std::string_view programText) {
    return codepage::toUnicode(programText);
}

} // namespace kelvrast
