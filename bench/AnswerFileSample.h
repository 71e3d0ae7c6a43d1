#pragma once

#include "system/shared/MersenneRandom.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace kelvrast::bench {

// Answer files as a term of a student's work leaves them: one assignment header per run, then answer records to
// questions of several paragraphs, answers from a word to several paragraphs, and now and then a note.
// The same seed always gives the same files.
class AnswerFileSample {
public:
    explicit AnswerFileSample(std::uint32_t seed = 2027);

    // Master-file text of whole runs, at least `bytes` long.
    std::string masterFile(std::size_t bytes);
    // SEND-file text of exactly `lines` lines.
    std::string sendFile(std::size_t lines);
    // An answer as a student types it: mostly a sentence or a paragraph, sometimes one word or several paragraphs.
    std::string answer();

private:
    // Appends one run (header and records) to the file; the master file's records carry key lines.
    void appendRun(std::string& file, bool master);
    std::string question(int number);
    std::string paragraph(int sentences);
    std::string sentence();
    std::string nextTime();
    int uniform(int low, int high);

    std::mt19937 engine_;
    MersenneRandom codeRandom_;
    std::vector<std::string> questions_; // question 1 at index 0
    std::string lastLine_ = "001.  Only assignment:  fenwick asst";
    int secondsOfDay_ = 9 * 3600;
};

// How many lines the files' reader hands out for the text: each CR ends one, and a last line needs none.
std::size_t lineCount(std::string_view text);

} // namespace kelvrast::bench
