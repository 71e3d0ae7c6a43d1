#include "AnswerFileSample.h"

#include "coding/CodeLine.h"
#include "flow/AnswerRecords.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

namespace kelvrast::bench {
namespace {

constexpr std::array<std::string_view, 64> words = {
    "the",         "pendulum",  "period",   "length",      "string",       "seconds",
    "measured",    "time",      "of",       "oscillation", "mass",         "graph",
    "slope",       "data",      "percent",  "uncertainty", "and",          "approximately",
    "because",     "which",     "when",     "increase",    "decrease",     "my",
    "a",           "to",        "was",      "is",          "with",         "each",
    "trial",       "average",   "than",     "it",          "clock",        "counted",
    "cycles",      "twenty",    "result",   "model",       "we",           "in",
    "for",         "that",      "square",   "root",        "proportional", "friction",
    "air",         "amplitude", "small",    "large",       "angle",        "degrees",
    "centimeters", "error",     "estimate", "between",     "first",        "second",
    "release",     "position",  "rate",     "answer",
};

constexpr std::array<std::string_view, 6> shortAnswers = {
    "completed", "yes", "OK", "I understand.", "Located the file.", "done",
};

std::string digits(int n, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, n);
    return text;
}

std::string twoDigits(int n) {
    return digits(n, 2);
}

std::string joined(const std::vector<std::string>& paragraphs, std::string_view separator) {
    std::string text;
    for (const std::string& piece : paragraphs) {
        if (!text.empty())
            text += separator;
        text += piece;
    }
    return text;
}

} // namespace

AnswerFileSample::AnswerFileSample(std::uint32_t seed) : engine_(seed) {
    codeRandom_.seed(seed);
    for (int number = 1; number <= 49; ++number)
        questions_.push_back(question(number));
}

std::string AnswerFileSample::masterFile(std::size_t bytes) {
    std::string file;
    file.reserve(bytes + (1 << 20));
    while (file.size() < bytes)
        appendRun(file, true);
    return file;
}

std::string AnswerFileSample::sendFile(std::size_t lines) {
    std::string file;
    for (std::size_t counted = 0; counted < lines;) {
        const std::size_t before = file.size();
        appendRun(file, false);
        counted += lineCount(std::string_view(file).substr(before));
    }
    // Cut after the line end of the last line wanted.
    std::size_t end = 0;
    for (std::size_t line = 0; line < lines; ++line)
        end = file.find("\r\n", end) + 2;
    file.resize(end);
    return file;
}

std::string AnswerFileSample::answer() {
    const int kind = uniform(0, 99);
    if (kind < 3)
        return "";
    if (kind < 20)
        return std::string(
            shortAnswers[static_cast<std::size_t>(uniform(0, static_cast<int>(shortAnswers.size()) - 1))]);
    if (kind < 65)
        return paragraph(uniform(1, 4));
    std::vector<std::string> paragraphs;
    const bool essay = kind >= 95;
    for (int i = uniform(2, 4) * (essay ? 3 : 1); i > 0; --i)
        paragraphs.push_back(paragraph(essay ? uniform(4, 8) : uniform(2, 6)));
    return joined(paragraphs, uniform(0, 1) == 0 ? "\r\n" : "\r\n\r\n");
}

void AnswerFileSample::appendRun(std::string& file, bool master) {
    const int assignment = uniform(1, 3);
    const std::string assignmentLine = std::string(records::assignmentLabel) + "00" + std::to_string(assignment);
    const std::string codeLine = makeCodeLine(static_cast<float>(uniform(19, 28)), codeRandom_);
    file += records::assignmentHeader(codeLine, assignmentLine, lastLine_, "qa fenwick");
    lastLine_ = "qa fenwick";

    const std::string date = "12-" + twoDigits(uniform(1, 28)) + "-2026";
    int number = uniform(1, 40);
    for (int remaining = uniform(3, 25); remaining > 0; --remaining) {
        const std::string& entry = questions_[static_cast<std::size_t>(number - 1)];
        if (uniform(0, 9) == 0) {
            const std::string time = nextTime();
            file += records::notesBlock({time, date, time, entry, std::string(records::notesPrefix) + answer()});
        } else {
            const std::optional<double> key =
                master ? std::optional<double>(assignment * 10000.0 + number) : std::nullopt;
            file += records::answerBlock({nextTime(), key, entry, answer()});
        }
        lastLine_ = records::recordCloser;
        // Mostly on to the next question; now and then the same one again.
        number = std::min(49, number + (uniform(0, 4) == 0 ? 0 : 1));
    }
}

std::string AnswerFileSample::question(int number) {
    std::vector<std::string> paragraphs;
    for (int i = uniform(1, 4); i > 0; --i)
        paragraphs.push_back(paragraph(uniform(2, 6)));
    return "`q" + digits(number, 3) + ".  " + joined(paragraphs, "\r\n\r\n");
}

std::string AnswerFileSample::paragraph(int sentences) {
    std::string text;
    for (int i = 0; i < sentences; ++i)
        text += sentence();
    return text;
}

std::string AnswerFileSample::sentence() {
    std::string text;
    for (int i = uniform(5, 18); i > 0; --i) {
        if (!text.empty())
            text += ' ';
        if (uniform(0, 11) == 0)
            text += std::to_string(uniform(1, 99)) + "." + twoDigits(uniform(0, 99));
        else
            text += words[static_cast<std::size_t>(uniform(0, static_cast<int>(words.size()) - 1))];
    }
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text + ".  ";
}

std::string AnswerFileSample::nextTime() {
    secondsOfDay_ = (secondsOfDay_ + uniform(5, 400)) % (24 * 3600);
    return twoDigits(secondsOfDay_ / 3600) + ":" + twoDigits(secondsOfDay_ / 60 % 60) + ":" +
           twoDigits(secondsOfDay_ % 60);
}

int AnswerFileSample::uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(engine_);
}

std::size_t lineCount(std::string_view text) {
    const auto ends = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r'));
    const bool lastLineEnded = text.empty() || text.ends_with('\r') || text.ends_with("\r\n");
    return ends + (lastLineEnded ? 0 : 1);
}

} // namespace kelvrast::bench
