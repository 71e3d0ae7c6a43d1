#include "durability/RecorderFiles.h"

#include "durability/RecorderAnswers.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace kelvrast::testing {

RecorderFile readRecorderFile(const std::filesystem::path& file, AnswerFileKind kind, long notesEvery,
                              bool interleaved) {
    RecorderFile read;
    read.checked = checkAnswerFile(readBytes(file), kind);
    EXPECT_TRUE(read.checked.whole()) << file << " line " << read.checked.firstBadLine.value_or(0) << " (byte "
                                      << read.checked.badOffset << "): " << read.checked.problem;
    bool headerSinceLastRecord = false;
    for (const FileBlock& block : read.checked.blocks) {
        if (block.kind == FileBlock::Kind::header) {
            ++read.headers;
            headerSinceLastRecord = true;
            continue;
        }
        ++read.records;
        const auto named = recorderTagAndNumber(block.text);
        if (!named) {
            ADD_FAILURE() << file << ": a record that no recorder typed, at line " << block.firstLine;
            continue;
        }
        const auto& [tag, n] = *named;
        EXPECT_EQ(block.text, recorderAnswer(tag, n)) << file << " line " << block.firstLine;
        EXPECT_EQ(block.kind == FileBlock::Kind::notes, recorderSavesNote(n, notesEvery))
            << file << " line " << block.firstLine;
        RunRecords* run = nullptr;
        if (interleaved) {
            for (RunRecords& known : read.runs)
                if (known.tag == tag)
                    run = &known;
        } else if (!read.runs.empty() && read.runs.back().tag == tag) {
            run = &read.runs.back();
        }
        if (!run) {
            if (kind != AnswerFileKind::notes && !interleaved) {
                EXPECT_TRUE(headerSinceLastRecord) << file << ": run " << tag << " starts without a header";
            }
            read.runs.push_back({tag, {}});
            run = &read.runs.back();
        }
        run->numbers.push_back(n);
        headerSinceLastRecord = false;
    }
    return read;
}

std::vector<long> numbersInFile(AnswerFileKind kind, long last, long notesEvery) {
    std::vector<long> numbers;
    for (long n = 1; n <= last; ++n)
        if (kind != AnswerFileKind::notes || recorderSavesNote(n, notesEvery))
            numbers.push_back(n);
    return numbers;
}

} // namespace kelvrast::testing
