// codeFile on a query file holding the input: the lines it reads, the code number it takes and the coded query
// file it writes.
#include "FuzzSupport.h"

#include "coding/QueryFile.h"
#include "system/posix/PosixFiles.h"
#include "text/CodePage.h"

using namespace kelvrast;

namespace {

// The coded file's lines: each line coded on its own and ended with CR LF.
std::vector<std::string> codedLines(const std::string& coded) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = coded.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(coded.substr(start, end - start));
    fuzz::require(start == coded.size(), "the coded file ends with a line end");
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::filesystem::path& folder = fuzz::scratchFolder();
    const std::string tag = "_fuzz";
    fuzz::writeBytes(folder / ("query" + tag + ".txt"), bytes);
    std::filesystem::remove(folder / ("queri" + tag + ".txt"));

    PosixFiles files;
    float codeNumber = 19;
    const Status coded = codeFile(files, folder, tag, codeNumber);
    const std::vector<std::string> lines = fuzz::referenceLines(bytes);
    if (lines.empty()) {
        fuzz::require(!coded.ok(), "an empty query file is refused");
        return 0;
    }
    fuzz::require(coded.ok(), "a readable query file is coded");
    fuzz::require(codeNumber == static_cast<float>(lines.front().size()), "the code number is the first line's length");

    const std::vector<std::string> out = codedLines(fuzz::readBytes(folder / ("queri" + tag + ".txt")));
    fuzz::require(out.size() == lines.size(), "one coded line for every line");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (codepage::lowerAscii(std::string_view(line).substr(0, 6)) == "query ")
            fuzz::require(out[i] == "query" + (line.size() > 7 ? line.substr(7) : ""),
                          "a query line loses its keyword's blank and the character after it");
        else
            fuzz::require(out[i] == line, "every other line is copied unchanged");
    }
    return 0;
}
