#include "flow/Draft.h"

#include "flow/StudentFileNames.h"

#include <charconv>
#include <cstdint>
#include <cstdio>

namespace kelvrast {
namespace {

constexpr std::string_view header = "kelvrast draft 1\r\n";

// FNV-1a, 64 bits: enough to tell a damaged file from a whole one.
std::uint64_t checksum(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3u;
    }
    return hash;
}

std::string littleEndian(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::u16string fromLittleEndian(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return text;
}

// Reads one decimal number and the single blank after it.
bool readNumber(std::string_view& line, std::uint64_t& number) {
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), number);
    if (error != std::errc() || end == line.data() || end == line.data() + line.size() || *end != ' ')
        return false;
    line.remove_prefix(static_cast<std::size_t>(end - line.data()) + 1);
    return true;
}

Failure damaged() {
    return Status::failure(u"the file is damaged or was not written by this program");
}

} // namespace

std::filesystem::path draftFileName(std::u16string_view studentName) {
    return std::filesystem::path(u"draft_" + fileNamePart(studentName) + u".txt");
}

std::string draftBytes(const Draft& draft) {
    const std::string texts[] = {littleEndian(draft.studentName), littleEndian(draft.question),
                                 littleEndian(draft.answer)};
    std::string body = texts[0] + texts[1] + texts[2];
    char check[17];
    std::snprintf(check, sizeof check, "%016llx", static_cast<unsigned long long>(checksum(body)));
    std::string bytes(header);
    for (const std::string& text : texts)
        bytes += std::to_string(text.size()) + " ";
    bytes += std::string(check) + "\r\n";
    return bytes + body;
}

Result<Draft> parseDraft(std::string_view bytes) {
    if (!bytes.starts_with(header))
        return damaged();
    bytes.remove_prefix(header.size());
    const std::size_t lineEnd = bytes.find("\r\n");
    if (lineEnd == std::string_view::npos)
        return damaged();
    std::string_view line = bytes.substr(0, lineEnd);
    const std::string_view body = bytes.substr(lineEnd + 2);
    std::uint64_t lengths[3] = {};
    std::uint64_t total = 0;
    for (std::uint64_t& length : lengths) {
        if (!readNumber(line, length) || length % 2 != 0 || length > body.size())
            return damaged();
        total += length;
    }
    char check[17];
    std::snprintf(check, sizeof check, "%016llx", static_cast<unsigned long long>(checksum(body)));
    if (total != body.size() || line != check)
        return damaged();
    const std::size_t nameEnd = lengths[0], questionEnd = nameEnd + lengths[1];
    return Draft{fromLittleEndian(body.substr(0, nameEnd)), fromLittleEndian(body.substr(nameEnd, lengths[1])),
                 fromLittleEndian(body.substr(questionEnd))};
}

} // namespace kelvrast
