#include "support/AnswerFileChecker.h"

#include <algorithm>

namespace kelvrast::testing {
namespace {

// The fixed lines, spelt out here rather than taken from the program, so that a wrong one there shows.
constexpr std::string_view recordOpener = "......!!!!!!!!...................................";
constexpr std::string_view recordCloser = ".................................................";
constexpr std::string_view responseMarker = "RESPONSE -->  ";
constexpr std::string_view notesPrefix = "NOTES -------> ";
constexpr std::string_view recordTag = "`questionNumber";
constexpr std::string_view assignmentLabel = "assignment #";
constexpr std::string_view assignmentTitle = "qa fenwick";
constexpr std::size_t timeLineIndent = 36;
constexpr std::string_view lineEnd = "\r\n";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    if (text.size() < at + count)
        return false;
    return std::all_of(text.begin() + at, text.begin() + at + count, isDigit);
}

int twoDigits(std::string_view text, std::size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

bool isTimeOfDay(std::string_view text) {
    return text.size() == 8 && digitsAt(text, 0, 2) && text[2] == ':' && digitsAt(text, 3, 2) && text[5] == ':' &&
           digitsAt(text, 6, 2) && twoDigits(text, 0) < 24 && twoDigits(text, 3) < 60 && twoDigits(text, 6) < 60;
}

bool isDate(std::string_view text) {
    return text.size() == 10 && digitsAt(text, 0, 2) && text[2] == '-' && digitsAt(text, 3, 2) && text[5] == '-' &&
           digitsAt(text, 6, 4) && twoDigits(text, 0) >= 1 && twoDigits(text, 0) <= 12 && twoDigits(text, 3) >= 1 &&
           twoDigits(text, 3) <= 31;
}

bool isIndented(std::string_view line) {
    return line.size() >= timeLineIndent && line.find_first_not_of(' ') == timeLineIndent;
}

bool isTimeLine(std::string_view line) {
    return isIndented(line) && isTimeOfDay(line.substr(timeLineIndent));
}

bool isDateTimeLine(std::string_view line) {
    return isIndented(line) && line.size() == timeLineIndent + 18 && isDate(line.substr(timeLineIndent, 10)) &&
           isTimeOfDay(line.substr(timeLineIndent + 10));
}

// The record tag, then a whole number as number text (a blank or a minus sign, digits), then a blank.
bool isKeyLine(std::string_view line) {
    if (!line.starts_with(recordTag))
        return false;
    std::string_view rest = line.substr(recordTag.size());
    if (rest.size() < 3 || (rest.front() != ' ' && rest.front() != '-') || rest.back() != ' ')
        return false;
    std::string_view digits = rest.substr(1, rest.size() - 2);
    return std::all_of(digits.begin(), digits.end(), isDigit) && (digits.size() == 1 || digits.front() != '0');
}

bool isCodeLine(std::string_view line) {
    return !line.empty() && std::all_of(line.begin(), line.end(), [](char c) { return (unsigned char)c >= 66; });
}

bool isAssignmentLine(std::string_view line) {
    return line.size() == assignmentLabel.size() + 3 && line.starts_with(assignmentLabel) &&
           digitsAt(line, assignmentLabel.size(), 3);
}

struct Line {
    std::string_view text;
    std::size_t offset;
};

// A parse that failed at a block, and why.
struct Failure {
    std::string problem;
};

class Parser {
public:
    Parser(std::string_view bytes, AnswerFileKind kind, const RecordedTexts& recorded)
        : bytes_(bytes), kind_(kind), recorded_(recorded) {
        std::size_t start = 0;
        for (std::size_t end; (end = bytes.find(lineEnd, start)) != std::string_view::npos; start = end + 2)
            lines_.push_back({bytes.substr(start, end - start), start});
        if (start < bytes.size())
            fragment_ = start;
    }

    CheckedAnswerFile run() {
        CheckedAnswerFile checked;
        for (std::size_t i = 0; i < lines_.size();) {
            FileBlock block;
            block.firstLine = i + 1;
            block.offset = lines_[i].offset;
            std::optional<Failure> failure = parseBlock(i, block);
            if (failure) {
                checked.firstBadLine = i + 1;
                checked.badOffset = lines_[i].offset;
                checked.problem = failure->problem;
                return checked;
            }
            block.length = offsetOf(i) - block.offset;
            checked.blocks.push_back(std::move(block));
        }
        if (fragment_) {
            checked.firstBadLine = lines_.size() + 1;
            checked.badOffset = *fragment_;
            checked.problem = "the file ends partway through a line";
        }
        return checked;
    }

private:
    // Where a line starts; past the last whole line, where the lines that end in CR LF end.
    std::size_t offsetOf(std::size_t line) const {
        return line < lines_.size() ? lines_[line].offset : fragment_.value_or(bytes_.size());
    }
    std::string_view at(std::size_t line) const {
        return line < lines_.size() ? lines_[line].text : std::string_view();
    }
    bool is(std::size_t line, std::string_view text) const { return line < lines_.size() && lines_[line].text == text; }

    bool mayStartBlock(std::size_t line) const {
        if (line == lines_.size() || is(line, recordOpener))
            return true;
        return isCodeLine(at(line)) && (line + 1 == lines_.size() || isAssignmentLine(at(line + 1)));
    }

    // Moves i past the block that starts there, or says why no whole block starts there.
    std::optional<Failure> parseBlock(std::size_t& i, FileBlock& block) {
        if (kind_ != AnswerFileKind::notes && isCodeLine(at(i)) && isAssignmentLine(at(i + 1)))
            return parseHeader(i, block);
        if (is(i, recordOpener) && isTimeLine(at(i + 1)))
            return parseRecord(i, block);
        return Failure{"the line starts no block"};
    }

    std::optional<Failure> parseHeader(std::size_t& i, FileBlock& block) {
        if (i + 4 > lines_.size() || !is(i + 3, assignmentTitle))
            return Failure{"a header without its title line"};
        block.kind = FileBlock::Kind::header;
        block.codeLine = at(i);
        block.assignmentLine = at(i + 1);
        block.thirdLine = at(i + 2);
        block.title = at(i + 3);
        i += 4;
        return std::nullopt;
    }

    std::optional<Failure> parseRecord(std::size_t& i, FileBlock& block) {
        std::size_t line = i + 1;
        block.time = at(line++).substr(timeLineIndent);
        const bool notes = isDateTimeLine(at(line));
        block.kind = notes ? FileBlock::Kind::notes : FileBlock::Kind::answer;
        if (notes)
            block.dateTime = at(line++).substr(timeLineIndent);
        else if (kind_ == AnswerFileKind::notes)
            return Failure{"a record without the date line of a notes record"};
        else if (kind_ == AnswerFileKind::master) {
            if (!isKeyLine(at(line)))
                return Failure{"an answer record without its key line"};
            block.keyLine = at(line++);
        }

        std::optional<std::size_t> opener = entryEnd(line, notes);
        if (!opener)
            return Failure{recorded_.entries.empty() ? "no record opener and marker after the entry"
                                                     : "the entry is none of the recorded entries"};
        block.entry = joined(line, *opener, "");

        const std::size_t textStart = notes ? *opener + 1 : *opener + 2;
        const std::string_view prefix = notes ? notesPrefix : std::string_view();
        std::optional<std::size_t> closer = textEnd(textStart, prefix);
        if (!closer)
            return Failure{recorded_.answers.empty() ? "no record closer after the answer"
                                                     : "the answer is none of the recorded answers"};
        block.text = joined(textStart, *closer, prefix);
        i = *closer + 1;
        return std::nullopt;
    }

    bool markerAt(std::size_t line, bool notes) const {
        return notes ? at(line).starts_with(notesPrefix) : is(line, responseMarker);
    }

    // The line after the text's physical lines when the file holds them from line on (prefix before the first).
    std::optional<std::size_t> matchText(std::size_t line, std::string_view text, std::string_view prefix) const {
        const std::string whole = std::string(prefix) + std::string(text);
        std::string_view rest = whole;
        for (;; ++line) {
            const std::size_t end = rest.find(lineEnd);
            if (!is(line, rest.substr(0, end)))
                return std::nullopt;
            if (end == std::string_view::npos)
                return line + 1;
            rest.remove_prefix(end + lineEnd.size());
        }
    }

    // The record opener that ends the entry starting at line.
    std::optional<std::size_t> entryEnd(std::size_t line, bool notes) const {
        auto fits = [&](std::size_t opener) { return is(opener, recordOpener) && markerAt(opener + 1, notes); };
        if (recorded_.entries.empty()) {
            for (std::size_t opener = line + 1; opener < lines_.size(); ++opener)
                if (fits(opener))
                    return opener;
            return std::nullopt;
        }
        return longestMatch(line, recorded_.entries, "", fits);
    }

    // The record closer that ends the answer (or note) starting at line.
    std::optional<std::size_t> textEnd(std::size_t line, std::string_view prefix) const {
        auto fits = [&](std::size_t closer) { return is(closer, recordCloser) && mayStartBlock(closer + 1); };
        if (recorded_.answers.empty()) {
            for (std::size_t closer = line + 1; closer < lines_.size(); ++closer)
                if (fits(closer))
                    return closer;
            return std::nullopt;
        }
        return longestMatch(line, recorded_.answers, prefix, fits);
    }

    template <typename Fits>
    std::optional<std::size_t> longestMatch(std::size_t line, const std::vector<std::string>& texts,
                                            std::string_view prefix, const Fits& fits) const {
        std::optional<std::size_t> best;
        for (const std::string& text : texts) {
            std::optional<std::size_t> end = matchText(line, text, prefix);
            if (end && fits(*end) && (!best || *end > *best))
                best = end;
        }
        return best;
    }

    std::string joined(std::size_t from, std::size_t to, std::string_view prefix) const {
        std::string text;
        for (std::size_t line = from; line < to; ++line) {
            if (line > from)
                text.append(lineEnd);
            text.append(at(line));
        }
        return text.substr(prefix.size());
    }

    std::string_view bytes_;
    AnswerFileKind kind_;
    const RecordedTexts& recorded_;
    std::vector<Line> lines_; // the lines that end in CR LF
    std::optional<std::size_t> fragment_;
};

} // namespace

CheckedAnswerFile checkAnswerFile(std::string_view bytes, AnswerFileKind kind, const RecordedTexts& recorded) {
    return Parser(bytes, kind, recorded).run();
}

} // namespace kelvrast::testing
