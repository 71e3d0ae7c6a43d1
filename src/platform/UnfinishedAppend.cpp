#include "platform/UnfinishedAppend.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace kelvrast::unfinished {

std::filesystem::path noteFolder(const std::filesystem::path& folder) {
    return folder / ".unfinished";
}

std::filesystem::path notePath(const std::filesystem::path& file) {
    return noteFolder(file.parent_path()) / file.filename();
}

namespace {
constexpr std::string_view form = "append ";
} // namespace

std::string noteHead(std::uint64_t sizeBefore, std::uint64_t length) {
    return std::string(form) + std::to_string(sizeBefore) + " " + std::to_string(length) + "\n";
}

std::optional<NoteHead> parseNoteHead(std::string_view start) {
    start = start.substr(0, longestHead);
    const std::size_t end = start.find('\n');
    if (end == std::string_view::npos || !start.starts_with(form))
        return std::nullopt;
    const char* first = start.data() + form.size();
    const char* last = start.data() + end;
    NoteHead note;
    const auto size = std::from_chars(first, last, note.sizeBefore);
    if (size.ec != std::errc() || size.ptr == last || *size.ptr != ' ')
        return std::nullopt;
    const auto length = std::from_chars(size.ptr + 1, last, note.length);
    // Sizes that a signed file offset cannot hold are no note of ours.
    constexpr auto largest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (length.ec != std::errc() || length.ptr != last || note.length == 0 || note.sizeBefore > largest ||
        note.length > largest - note.sizeBefore)
        return std::nullopt;
    note.blockAt = end + 1;
    return note;
}

bool endsInsideBlock(const NoteHead& note, std::uint64_t fileSize) {
    return fileSize > note.sizeBefore && fileSize < note.sizeBefore + note.length;
}

namespace {

bool allZeros(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '\0'; });
}

} // namespace

bool isUnfinishedTail(const NoteHead& note, std::string_view tail, std::string_view noted) {
    const std::uint64_t size = note.sizeBefore + tail.size();
    const bool wholeLength = tail.size() == note.length;
    if (!endsInsideBlock(note, size) && !wholeLength)
        return false;
    if (wholeLength && tail == noted)
        return false;
    // Sectors lie at fixed places in the file, so the first one may hold the end of the file before the block.
    std::size_t at = 0;
    while (at < tail.size()) {
        const std::uint64_t offset = note.sizeBefore + at;
        const std::size_t length =
            std::min<std::size_t>(tail.size() - at, static_cast<std::size_t>(sectorSize - offset % sectorSize));
        const std::string_view part = tail.substr(at, length);
        if (part != noted.substr(at, length) && !allZeros(part))
            return false;
        at += length;
    }
    return true;
}

} // namespace kelvrast::unfinished
