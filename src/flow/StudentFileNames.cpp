#include "flow/StudentFileNames.h"

#include <algorithm>

namespace kelvrast {
namespace {

// The longest prefix and suffix the answer files add to the name: "masterFile_" and ".txt".
constexpr std::size_t longestAddition = 15;
// The longest file name that common file systems take, in bytes of UTF-8.
constexpr std::size_t longestFileName = 255;

constexpr std::u16string_view forbidden = u"\\/:*?\"<>|";

// C0 controls, DEL and the C1 controls U+0080 to U+009F.
bool isControlCharacter(char16_t unit) {
    return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F);
}

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Half of a surrogate pair without its other half: no character at all, and no file name can be made of it.
bool isLoneSurrogate(std::u16string_view name, std::size_t at) {
    if (isHighSurrogate(name[at]))
        return at + 1 >= name.size() || !isLowSurrogate(name[at + 1]);
    if (isLowSurrogate(name[at]))
        return at == 0 || !isHighSurrogate(name[at - 1]);
    return false;
}

// The length of the name in UTF-8: a surrogate pair is four bytes, two for each of its halves.
std::size_t utf8Length(std::u16string_view name) {
    std::size_t bytes = 0;
    for (char16_t unit : name) {
        if (unit < 0x80)
            bytes += 1;
        else if (unit < 0x800 || isHighSurrogate(unit) || isLowSurrogate(unit))
            bytes += 2;
        else
            bytes += 3;
    }
    return bytes;
}

} // namespace

std::u16string fileNamePart(std::u16string_view name) {
    std::u16string part(name);
    std::replace(part.begin(), part.end(), u' ', u'_');
    return part;
}

std::optional<std::u16string> nameProblem(std::u16string_view name) {
    const std::u16string please = u" Please type your name again.";
    for (std::size_t at = 0; at < name.size(); ++at) {
        if (forbidden.find(name[at]) != std::u16string_view::npos)
            return u"The name cannot be used for your answer files because it contains the character " +
                   std::u16string(1, name[at]) + u", which file names cannot hold." + please;
        if (isControlCharacter(name[at]))
            return u"The name cannot be used for your answer files because it contains a control character, which "
                   u"file names cannot hold." +
                   please;
        if (isLoneSurrogate(name, at))
            return u"The name cannot be used for your answer files because it contains an incomplete character, "
                   u"which file names cannot hold." +
                   please;
    }
    if (utf8Length(name) + longestAddition > longestFileName)
        return u"The name is too long to be used for your answer files. Please type a shorter form of your name.";
    if (name == u"." || name == u"..")
        return u"The name cannot be used for your answer files." + please;
    return std::nullopt;
}

} // namespace kelvrast
