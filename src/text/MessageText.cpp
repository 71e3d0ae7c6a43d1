#include "text/MessageText.h"

#include <exception>
#include <type_traits>

namespace kelvrast {

namespace {

constexpr bool isAscii(unsigned unit) {
    return unit < 0x80;
}

// ": " and what the error says of itself, or nothing when it says nothing.
std::u16string reasonOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& thrown) {
        return u": " + asciiText(thrown.what());
    } catch (...) {
        return {};
    }
}

} // namespace

std::u16string pathText(const std::filesystem::path& path) {
    try {
        return path.u16string();
    } catch (const std::exception&) {
        std::u16string text;
        text.reserve(path.native().size());
        for (auto unit : path.native()) {
            const auto code = static_cast<std::make_unsigned_t<decltype(unit)>>(unit);
            text += isAscii(code) ? static_cast<char16_t>(code) : u'?';
        }
        return text;
    }
}

std::u16string asciiText(std::string_view text) {
    std::u16string wide(text.size(), u'?');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (isAscii(byte))
            wide[i] = byte;
    }
    return wide;
}

std::u16string commandFailedText(std::exception_ptr error) {
    return u"Something went wrong" + reasonOf(error) + u". The program goes on.";
}

std::u16string programStoppedText(std::exception_ptr error) {
    return u"The program met an error it cannot go on from" + reasonOf(error) + u".";
}

} // namespace kelvrast
