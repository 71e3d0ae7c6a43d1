#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kelvrast {

// The program's UTF-16 texts and the system's wide strings hold the same 16-bit units.
inline std::wstring wideText(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string programText(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

// A caption that shows "&" as it is, not as the mark of an access key: no caption of the program has one.
inline std::wstring captionText(std::u16string_view text) {
    std::wstring made;
    for (char16_t c : text) {
        if (c == u'&')
            made += L'&';
        made += static_cast<wchar_t>(c);
    }
    return made;
}

// A window's whole text.
inline std::u16string windowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return programText(text);
}

} // namespace kelvrast
