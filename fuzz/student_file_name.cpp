// The student's name turned into the answer files' names: a name that is accepted must give names that any
// file system here takes, and files of those names must really be creatable. The input is the name as the dialog
// gives it, in UTF-16: each two bytes are one code unit, low byte first (an odd last byte is dropped), so that any
// sequence of units, lone surrogates too, can be tried.
#include "FuzzSupport.h"

#include "flow/StudentFileNames.h"
#include "system/posix/PosixFiles.h"

using namespace kelvrast;

namespace {

std::u16string unitsOf(const std::uint8_t* data, std::size_t size) {
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return units;
}

bool isSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

bool holdsUnsafeUnit(std::u16string_view part) {
    for (std::size_t at = 0; at < part.size(); ++at) {
        const char16_t unit = part[at];
        if (unit < 0x20 || (unit >= 0x7F && unit <= 0x9F) || unit == u'/' || unit == u'\\')
            return true; // a separator, or a C0 or C1 control
        if (!isSurrogate(unit))
            continue;
        const bool pairs = unit <= 0xDBFF && at + 1 < part.size() && part[at + 1] >= 0xDC00 && part[at + 1] <= 0xDFFF;
        if (!pairs)
            return true; // half of a surrogate pair
        ++at;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string name = unitsOf(data, size);
    const std::optional<std::u16string> problem = nameProblem(name);
    if (problem) {
        fuzz::require(!problem->empty(), "a refusal says why");
        return 0;
    }

    const std::u16string part = fileNamePart(name);
    fuzz::require(part.size() == name.size(), "the file name part is as long as the name");
    fuzz::require(part.find(u' ') == std::u16string::npos, "the file name part holds no blank");
    fuzz::require(!holdsUnsafeUnit(part), "the file name part holds no separator, control or broken character");
    fuzz::require(part != u"." && part != u"..", "the name is not a folder's own name");

    PosixFiles files;
    for (const std::u16string& fileName :
         {u"masterFile_" + part + u".txt", u"send_1231" + part + u".txt", u"notes_" + part + u".txt"}) {
        // Made as the program makes its paths; an accepted name must convert without an exception.
        const std::filesystem::path file = fuzz::scratchFolder() / std::filesystem::path(fileName);
        fuzz::require(file.filename().native().size() <= 255, "the file name fits 255 bytes");
        fuzz::require(files.touch(file).ok(), "a file of that name can be created");
        fuzz::require(std::filesystem::remove(file), "the file was created in the folder itself");
    }
    return 0;
}
