// The student's name turned into the answer files' names: a name that is accepted must give names that any
// file system here takes, and files of those names must really be creatable.
#include "FuzzSupport.h"

#include "flow/StudentFileNames.h"
#include "platform/posix/PosixFiles.h"

using namespace kelvrast;

namespace {

bool holdsUnsafeByte(std::string_view part) {
    for (std::size_t at = 0; at < part.size(); ++at) {
        const auto byte = static_cast<unsigned char>(part[at]);
        if (byte < 0x20 || byte == 0x7F || byte == '/' || byte == '\\')
            return true;
        const auto next = at + 1 < part.size() ? static_cast<unsigned char>(part[at + 1]) : 0;
        if (byte == 0xC2 && next >= 0x80 && next <= 0x9F)
            return true; // a C1 control in UTF-8
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string name(fuzz::bytesOf(data, size));
    const std::optional<std::string> problem = nameProblem(name);
    if (problem) {
        fuzz::require(!problem->empty(), "a refusal says why");
        return 0;
    }

    const std::string part = fileNamePart(name);
    fuzz::require(part.size() == name.size(), "the file name part is as long as the name");
    fuzz::require(part.find(' ') == std::string::npos, "the file name part holds no blank");
    fuzz::require(!holdsUnsafeByte(part), "the file name part holds no separator or control character");
    fuzz::require(part != "." && part != "..", "the name is not a folder's own name");

    PosixFiles files;
    for (const std::string& fileName :
         {"masterFile_" + part + ".txt", "send_1231" + part + ".txt", "notes_" + part + ".txt"}) {
        fuzz::require(fileName.size() <= 255, "the file name fits 255 bytes");
        const std::filesystem::path file = fuzz::scratchFolder() / fileName;
        fuzz::require(files.touch(file).ok(), "a file of that name can be created");
        fuzz::require(std::filesystem::remove(file), "the file was created in the folder itself");
    }
    return 0;
}
