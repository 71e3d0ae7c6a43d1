#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kelvrast::testing {

// The text the recorder types as its n-th record under its tag: two lines naming both, then lines of filler
// up to size bytes, so that a test can tell every recorded text apart and rebuild it from its first line.
inline std::string recorderAnswer(std::string_view tag, long n, std::size_t size = 0) {
    const std::string number = std::to_string(n);
    std::string text = std::string(tag) + " answer " + number + "\r\nline two of " + std::string(tag) + " " + number;
    while (text.size() < size)
        text += "\r\nfiller to make the answer long enough to cross many pages of the file, and then some more";
    return text;
}

// Every notesEvery-th record is saved as a note; 0 saves none.
inline bool recorderSavesNote(long n, long notesEvery) {
    return notesEvery > 0 && n % notesEvery == 0;
}

// The tag and number a recorded text names in its first line.
inline std::optional<std::pair<std::string, long>> recorderTagAndNumber(std::string_view text) {
    const std::string_view first = text.substr(0, text.find("\r\n"));
    const std::size_t middle = first.find(" answer ");
    if (middle == std::string_view::npos)
        return std::nullopt;
    try {
        return std::make_pair(std::string(first.substr(0, middle)), std::stol(std::string(first.substr(middle + 8))));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace kelvrast::testing
