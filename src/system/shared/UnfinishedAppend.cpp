#include "system/shared/UnfinishedAppend.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace kelvrast::unfinished {

namespace {
constexpr std::string_view liveMark = "append ";
} // namespace

std::string noteHead(std::uint64_t sizeBefore, std::uint64_t length) {
    return std::string(liveMark) + std::to_string(sizeBefore) + " " + std::to_string(length) + "\n";
}

namespace {

constexpr auto largestOffset = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

// A decimal number and the separator after it; nothing when either is missing.
std::optional<std::uint64_t> numberBefore(const char*& at, const char* last, char separator, int base = 10) {
    std::uint64_t value = 0;
    const auto read = std::from_chars(at, last, value, base);
    if (read.ec != std::errc() || read.ptr == at || read.ptr == last || *read.ptr != separator)
        return std::nullopt;
    at = read.ptr + 1;
    return value;
}

// Where a copy of length bytes at sizeBefore would end; false for sizes that a signed file offset cannot hold.
bool fitsInAFile(std::uint64_t sizeBefore, std::uint64_t length) {
    return length > 0 && sizeBefore <= largestOffset && length <= largestOffset - sizeBefore;
}

// FNV-1a: enough to tell a note written whole from one that a power cut kept only in part.
std::uint64_t checksumOf(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

std::string hex(std::uint64_t value) {
    char digits[16];
    for (int i = 15; i >= 0; --i, value >>= 4)
        digits[i] = "0123456789abcdef"[value & 15];
    return std::string(digits, sizeof digits);
}

} // namespace

std::optional<NoteHead> parseNoteHead(std::string_view start) {
    start = start.substr(0, longestHead);
    const std::size_t end = start.find('\n');
    if (end == std::string_view::npos || !start.starts_with(liveMark))
        return std::nullopt;
    const char* at = start.data() + liveMark.size();
    const char* last = start.data() + end + 1;
    // Two numbers: one file; four: several, as an earlier version wrote them; five: stamped.
    const auto fields = std::count(at, last, ' ') + 1;
    if (fields != 2 && fields != 4 && fields != 5)
        return std::nullopt;
    NoteHead note;
    const std::optional<std::uint64_t> size = numberBefore(at, last, ' ');
    const std::optional<std::uint64_t> length = numberBefore(at, last, fields == 2 ? '\n' : ' ');
    if (!size || !length || !fitsInAFile(*size, *length))
        return std::nullopt;
    note.sizeBefore = *size;
    note.length = *length;
    if (fields > 2) {
        const std::optional<std::uint64_t> others = numberBefore(at, last, ' ');
        const char* checksumAt = at;
        const std::optional<std::uint64_t> checksum = numberBefore(at, last, fields == 4 ? '\n' : ' ', 16);
        if (!others || (*others == 0 && fields == 4) || !checksum || at - checksumAt != 17)
            return std::nullopt;
        note.others = *others;
        note.checksum = *checksum;
    }
    if (fields == 5) {
        std::int64_t stamp = 0;
        const auto read = std::from_chars(at, last, stamp);
        if (read.ec != std::errc() || read.ptr == at || read.ptr != last - 1)
            return std::nullopt;
        at = last;
        note.stamp = stamp;
    }
    if (at != last)
        return std::nullopt;
    note.blockAt = end + 1;
    return note;
}

namespace {

// The first append's block and, for each other append, its size, length, name and block.
std::string restOf(const std::vector<NotedAppend>& appends) {
    std::string rest = appends.front().block;
    for (std::size_t i = 1; i < appends.size(); ++i) {
        const NotedAppend& other = appends[i];
        const auto name = other.file.u8string();
        rest += std::to_string(other.sizeBefore) + " " + std::to_string(other.block.size()) + " " +
                std::string(name.begin(), name.end()) + "\n" + other.block;
    }
    return rest;
}

std::string groupHead(const std::vector<NotedAppend>& appends, const std::string& rest) {
    return std::string(liveMark) + std::to_string(appends.front().sizeBefore) + " " +
           std::to_string(appends.front().block.size()) + " " + std::to_string(appends.size() - 1) + " " +
           hex(checksumOf(rest));
}

} // namespace

std::string noteOf(const std::vector<NotedAppend>& appends) {
    const NotedAppend& own = appends.front();
    if (appends.size() == 1)
        return noteHead(own.sizeBefore, own.block.size()) + own.block;
    const std::string rest = restOf(appends);
    return groupHead(appends, rest) + "\n" + rest;
}

std::string stampedNoteOf(const std::vector<NotedAppend>& appends, std::int64_t stamp) {
    const std::string rest = restOf(appends);
    return groupHead(appends, rest) + " " + std::to_string(stamp) + "\n" + rest;
}

namespace {

// A name in the note's own folder: the repair cuts only files beside the note's own.
bool isFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string_view::npos;
}

// The appends to other files, read from what follows the first one's block; rest keeps what follows them.
std::optional<std::vector<NotedAppend>> parseOthers(std::string_view& rest, std::uint64_t count) {
    std::vector<NotedAppend> others;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::size_t end = rest.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt;
        const char* at = rest.data();
        const char* last = at + end + 1;
        const std::optional<std::uint64_t> size = numberBefore(at, last, ' ');
        const std::optional<std::uint64_t> length = numberBefore(at, last, ' ');
        const std::string_view name(at, static_cast<std::size_t>(last - 1 - at));
        if (!size || !length || !fitsInAFile(*size, *length) || !isFileName(name) || rest.size() - end - 1 < *length)
            return std::nullopt;
        others.push_back({std::filesystem::path(std::u8string(name.begin(), name.end())), *size,
                          std::string(rest.substr(end + 1, *length))});
        rest.remove_prefix(end + 1 + *length);
    }
    return others;
}

} // namespace

std::optional<std::vector<NotedAppend>> parseNote(std::string_view note) {
    const std::optional<NoteHead> head = parseNoteHead(note);
    if (!head)
        return std::nullopt;
    std::string_view rest = note.substr(head->blockAt);
    if (rest.size() < head->length)
        return std::nullopt;
    std::vector<NotedAppend> appends{{{}, head->sizeBefore, std::string(rest.substr(0, head->length))}};
    if (head->others == 0 && !head->stamp)
        return appends;
    std::string_view after = rest.substr(head->length);
    const std::optional<std::vector<NotedAppend>> others = parseOthers(after, head->others);
    if (!others || checksumOf(rest.substr(0, rest.size() - after.size())) != head->checksum)
        return std::nullopt;
    appends.insert(appends.end(), others->begin(), others->end());
    return appends;
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
