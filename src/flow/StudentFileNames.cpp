#include "flow/StudentFileNames.h"

#include <algorithm>
#include <string_view>

namespace kelvrast {
namespace {

// The longest prefix and suffix the answer files add to the name: "masterFile_" and ".txt".
constexpr std::size_t longestAddition = 15;
// The longest file name that common file systems take, in bytes.
constexpr std::size_t longestFileName = 255;

constexpr std::string_view forbidden = "\\/:*?\"<>|";

bool isControlCharacter(std::string_view name, std::size_t at) {
    auto byte = static_cast<unsigned char>(name[at]);
    if (byte < 0x20 || byte == 0x7F)
        return true;
    // C1 controls, U+0080 to U+009F, are C2 80 to C2 9F in UTF-8.
    if (byte == 0xC2 && at + 1 < name.size()) {
        auto next = static_cast<unsigned char>(name[at + 1]);
        return next >= 0x80 && next <= 0x9F;
    }
    return false;
}

} // namespace

std::string fileNamePart(const std::string& name) {
    std::string part = name;
    std::replace(part.begin(), part.end(), ' ', '_');
    return part;
}

std::optional<std::string> nameProblem(const std::string& name) {
    const std::string please = " Please type your name again.";
    for (std::size_t at = 0; at < name.size(); ++at) {
        if (forbidden.find(name[at]) != std::string_view::npos)
            return "The name cannot be used for your answer files because it contains the character " +
                   std::string(1, name[at]) + ", which file names cannot hold." + please;
        if (isControlCharacter(name, at))
            return "The name cannot be used for your answer files because it contains a control character, which "
                   "file names cannot hold." +
                   please;
    }
    if (name.size() + longestAddition > longestFileName)
        return "The name is too long to be used for your answer files. Please type a shorter form of your name.";
    if (name == "." || name == "..")
        return "The name cannot be used for your answer files." + please;
    return std::nullopt;
}

} // namespace kelvrast
