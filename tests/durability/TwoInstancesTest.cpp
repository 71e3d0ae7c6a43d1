#include "durability/RecorderAnswers.h"
#include "durability/RecorderFiles.h"
#include "durability/RecorderProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <iostream>

using namespace kelvrast;
using namespace kelvrast::testing;
using namespace std::chrono_literals;

// Two programs for the same student, recording into the same master, SEND and notes files at the same time.
TEST(TwoInstancesTest, RecordWholeBlocksIntoTheSameFilesAndLoseNone) {
    constexpr long count = 1100; // 1,000 answers and 100 notes each
    constexpr long notesEvery = 11;
    TempFolder home;
    const std::filesystem::path folder = home.path() / "kelvrast";
    const std::string student = "Lee Twice";

    RecorderProcess first({pathArgument(folder), student, "A", std::to_string(count), std::to_string(notesEvery)});
    RecorderProcess second({pathArgument(folder), student, "B", std::to_string(count), std::to_string(notesEvery)});
    for (RecorderProcess* recorder : {&first, &second}) {
        const std::optional<RecorderEnd> end = recorder->wait(300s);
        ASSERT_TRUE(end && end->exitedWith(0)) << (end ? end->description : "timed out");
        ASSERT_EQ(recorder->done().size(), static_cast<std::size_t>(count));
    }

    const struct {
        AnswerFileKind kind;
        std::filesystem::path path;
    } files[] = {{AnswerFileKind::master, folder / "masterFile_Lee_Twice.txt"},
                 {AnswerFileKind::send, folder / "send_0107Lee_Twice.txt"},
                 {AnswerFileKind::notes, folder / "notes_Lee_Twice.txt"}};
    std::size_t recordsChecked = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.path.filename().string());
        const RecorderFile read = readRecorderFile(file.path, file.kind, notesEvery, true);
        recordsChecked += read.records;
        EXPECT_EQ(read.headers, file.kind == AnswerFileKind::notes ? 0u : 2u);
        ASSERT_EQ(read.runs.size(), 2u);
        for (const RunRecords& run : read.runs)
            EXPECT_EQ(run.numbers, numbersInFile(file.kind, count, notesEvery)) << run.tag;

        // The two programs took turns: otherwise this tested nothing.
        int turns = 0;
        std::string previous;
        for (const FileBlock& block : read.checked.blocks) {
            const auto named = recorderTagAndNumber(block.text);
            if (!named)
                continue;
            turns += !previous.empty() && named->first != previous;
            previous = named->first;
        }
        EXPECT_GT(turns, 1);
        std::cout << "[ figures  ] " << file.path.filename().string() << ": " << read.records
                  << " records from two programs at once, whole and in order, " << turns << " changes of turn\n";
    }
    std::cout << "[ figures  ] " << recordsChecked << " records checked\n";
}
