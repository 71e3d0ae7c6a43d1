// The master-file scan at start-up, on a master file holding the input: the real line reader and the progress
// table it fills. The first byte can put a long first line before the rest, so that the rest lies across the end
// of the reader's first 64 KiB chunk and a CR LF can be split between two reads.
#include "FuzzSupport.h"

#include "flow/MainWindowState.h"
#include "flow/Resume.h"
#include "system/posix/PosixFiles.h"

#include <algorithm>
#include <memory>

using namespace kelvrast;

namespace {

using Table = decltype(MainWindowState::progressTable);

constexpr std::size_t readerChunk = 1 << 16;

// Cell [a][q] holds 0 or q; column 50 of every assignment from 1 on holds the row's highest question from 1 to
// 49. Row 0 is never summarised, so a key of question 50 leaves 50 there.
void checkTable(const Table& table, std::size_t keyLines) {
    std::size_t filled = 0;
    for (std::size_t a = 0; a < table.size(); ++a) {
        double highest = 0;
        for (std::size_t q = 0; q < 50; ++q) {
            fuzz::require(table[a][q] == 0 || table[a][q] == static_cast<double>(q), "a cell holds its question");
            if (q >= 1)
                highest = std::max(highest, table[a][q]);
            filled += table[a][q] != 0;
        }
        if (a == 0)
            fuzz::require(table[0][50] == 0 || table[0][50] == 50, "row 0's column 50 holds 0 or 50");
        else
            fuzz::require(table[a][50] == highest, "column 50 holds the row's highest question");
    }
    fuzz::require(filled <= keyLines, "no more filled cells than key lines");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes;
    if (size > 0) {
        if (data[0] & 1)
            bytes.assign(readerChunk - (data[0] >> 1), 'x');
        bytes.append(fuzz::bytesOf(data + 1, size - 1));
    }
    static const std::filesystem::path file = fuzz::scratchFolder() / "masterFile_Fuzz.txt";
    fuzz::writeBytes(file, bytes);
    PosixFiles files;

    const std::vector<std::string> expected = fuzz::referenceLines(bytes);
    std::vector<std::string> read;
    fuzz::require(files.readLines(file, [&read](std::string_view line) { read.emplace_back(line); }).ok(),
                  "the master file can be read");
    fuzz::require(read == expected, "the reader hands out the lines of the file");

    static const auto state = std::make_unique<MainWindowState>();
    state->progressTable = {};
    const std::string entry = "001.  Only assignment:  fenwick asst";
    Result<std::string> lastLine = scanMasterFile(files, file, *state, entry);
    fuzz::require(lastLine.ok(), "the scan succeeds on a readable file");
    fuzz::require(lastLine.value() == (expected.empty() ? entry : expected.back()), "the scan returns the last line");

    const auto keyLines = std::count_if(expected.begin(), expected.end(),
                                        [](const std::string& line) { return line.starts_with("`questionNumber"); });
    checkTable(state->progressTable, static_cast<std::size_t>(keyLines));
    return 0;
}
