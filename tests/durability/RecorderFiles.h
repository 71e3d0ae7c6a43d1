#pragma once

#include "support/AnswerFileChecker.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kelvrast::testing {

// One recorder run's records in one answer file, in file order.
struct RunRecords {
    std::string tag;
    std::vector<long> numbers;
};

// An answer file the recorders wrote, read back block by block.
struct RecorderFile {
    CheckedAnswerFile checked;
    std::vector<RunRecords> runs; // one stretch of records per run, in file order
    std::size_t headers = 0;
    std::size_t records = 0;
};

// Reads the file, checking that it is whole blocks, that every record is exactly the text the recorder typed
// for it and of the kind it chose, and, outside the notes file, that a header comes before each run's records.
// With interleaved set, records of several runs may alternate (two recorders at once); otherwise each run's
// records must form one stretch.
RecorderFile readRecorderFile(const std::filesystem::path& file, AnswerFileKind kind, long notesEvery,
                              bool interleaved = false);

// The numbers a run that recorded 1 to last leaves in a file of the kind: all of them, or the notes only.
std::vector<long> numbersInFile(AnswerFileKind kind, long last, long notesEvery);

} // namespace kelvrast::testing
