#pragma once

#include "platform/Status.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kelvrast {

// What the student was typing and has not recorded yet: the whole text of both large boxes, as the screen shows it.
struct Draft {
    std::u16string studentName;
    std::u16string question;
    std::u16string answer;

    bool operator==(const Draft&) const = default;
};

// The name of the draft file of a student, in the drafts' folder.
std::filesystem::path draftFileName(std::u16string_view studentName);

// The draft as its file holds it: a header line, the lengths and a checksum, then the three texts in UTF-16LE,
// exactly as typed, characters beyond Windows-1252 included.
std::string draftBytes(const Draft& draft);

// The draft a file holds. A failure, in plain words, for a file that is not a whole draft of this program: cut short,
// grown, changed, or of another format.
Result<Draft> parseDraft(std::string_view bytes);

} // namespace kelvrast
