#include "coding/QueryFile.h"

#include "coding/LineCoding.h"
#include "text/CodePage.h"

#include <string_view>
#include <vector>

namespace kelvrast {

namespace {

enum class LineKind { assign, query, other };

LineKind kindOf(std::string_view line) {
    const std::string start = codepage::lowerAscii(line.substr(0, 6));
    if (start == "assign")
        return LineKind::assign;
    if (start == "query ")
        return LineKind::query;
    return LineKind::other;
}

// The keyword, its blank and the character after the blank become the bare keyword "query".
std::string codedLine(const std::string& line, float codeNbr) {
    switch (kindOf(line)) {
    case LineKind::assign:
        return line;
    case LineKind::query:
        return "query" + code(line.size() > 7 ? line.substr(7) : std::string(), codeNbr);
    case LineKind::other:
        break;
    }
    return code(line, codeNbr);
}

std::string fileName(const std::string& stem, const std::string& queryFileTag) {
    return stem + queryFileTag + ".txt";
}

// The tag is program text in Windows-1252; the file system wants the name in its own encoding.
std::filesystem::path pathOf(const std::filesystem::path& folderPath, const std::string& name) {
    return folderPath / std::filesystem::path(codepage::toUnicode(name));
}

} // namespace

Status codeFile(Files& files, const std::filesystem::path& folderPath, const std::string& queryFileTag,
                float& codeNumber) {
    const std::string queryName = fileName("query", queryFileTag);
    std::vector<std::string> lines;
    Status read =
        files.readLines(pathOf(folderPath, queryName), [&lines](std::string_view line) { lines.emplace_back(line); });
    if (!read.ok())
        return read;
    if (lines.empty())
        return Status::failure(u"The query file " + codepage::toUnicode(queryName) + u" is empty.");

    codeNumber = static_cast<float>(lines.front().size());
    std::string coded;
    for (const std::string& line : lines) {
        coded += codedLine(line, codeNumber);
        coded += "\r\n";
    }
    return files.writeFile(pathOf(folderPath, fileName("queri", queryFileTag)), coded);
}

} // namespace kelvrast
