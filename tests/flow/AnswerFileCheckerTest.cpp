#include "support/AnswerFileChecker.h"
#include "flow/AnswerRecords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kelvrast;
using namespace kelvrast::testing;

namespace {

const std::string opener(records::recordOpener);
const std::string closer(records::recordCloser);
const std::string question = "`q001.  A pendulum of length L swings.\r\n\r\nWhat is its period?";
const std::string timeLine = std::string(36, ' ') + "14:05:09";

// A block as the program writes it, with what the checker should read back from it.
struct Written {
    std::string bytes;
    FileBlock expected;
};

Written header(const std::string& codeLine, const std::string& third) {
    FileBlock block;
    block.kind = FileBlock::Kind::header;
    block.codeLine = codeLine;
    block.assignmentLine = "assignment #001";
    block.thirdLine = third;
    block.title = "qa fenwick";
    return {records::assignmentHeader(codeLine, "assignment #001", third, "qa fenwick"), block};
}

Written answer(AnswerFileKind kind, const std::string& entry, const std::string& text, double key = 10001) {
    FileBlock block;
    block.kind = FileBlock::Kind::answer;
    block.time = "14:05:09";
    if (kind == AnswerFileKind::master)
        block.keyLine = records::keyLine(key);
    block.entry = entry;
    block.text = text;
    std::optional<double> written = kind == AnswerFileKind::master ? std::optional<double>(key) : std::nullopt;
    return {records::answerBlock({"14:05:09", written, entry, text}), block};
}

Written note(const std::string& entry, const std::string& text) {
    FileBlock block;
    block.kind = FileBlock::Kind::notes;
    block.time = "09:00:01";
    block.dateTime = "12-07-2026"
                     "09:00:02";
    block.entry = entry;
    block.text = text;
    return {
        records::notesBlock({"09:00:01", "12-07-2026", "09:00:02", entry, std::string(records::notesPrefix) + text}),
        block};
}

std::string concatenated(const std::vector<Written>& blocks) {
    std::string bytes;
    for (const Written& block : blocks)
        bytes += block.bytes;
    return bytes;
}

void expectSameBlock(const FileBlock& actual, const FileBlock& expected) {
    EXPECT_EQ(actual.kind, expected.kind);
    EXPECT_EQ(actual.codeLine, expected.codeLine);
    EXPECT_EQ(actual.assignmentLine, expected.assignmentLine);
    EXPECT_EQ(actual.thirdLine, expected.thirdLine);
    EXPECT_EQ(actual.title, expected.title);
    EXPECT_EQ(actual.time, expected.time);
    EXPECT_EQ(actual.dateTime, expected.dateTime);
    EXPECT_EQ(actual.keyLine, expected.keyLine);
    EXPECT_EQ(actual.entry, expected.entry);
    EXPECT_EQ(actual.text, expected.text);
}

struct FileCase {
    const char* name;
    AnswerFileKind kind;
    std::vector<Written> blocks;
};

std::vector<FileCase> wellFormedFiles() {
    const auto master = AnswerFileKind::master;
    const auto send = AnswerFileKind::send;
    const std::string code = "\xC8Zq\xFF"
                             "BBBB\x80";
    return {
        {"master",
         master,
         {header(code, "001.  Only assignment:  fenwick asst"), answer(master, question, "OK"),
          answer(master, "", "", 10000), note(question, "first\r\n\r\nthird line"), header("Bz", closer),
          answer(master, "instruction", "two\r\nlines", 10051), header("B", "qa fenwick"), header("C", "")}},
        {"send",
         send,
         {header(code, opener), answer(send, question, "OK"), note("", ""), answer(send, "\t", "RESPONSE -->  "),
          header("BB", timeLine)}},
        {"notes", AnswerFileKind::notes, {note(question, "OK"), note("", ""), note("x", "a\r\nb")}},
        {"empty", master, {}},
    };
}

} // namespace

TEST(AnswerFileCheckerTest, ReadsBackEveryBlockAsItWasWritten) {
    for (const FileCase& file : wellFormedFiles()) {
        SCOPED_TRACE(file.name);
        const std::string bytes = concatenated(file.blocks);
        const CheckedAnswerFile checked = checkAnswerFile(bytes, file.kind);
        ASSERT_TRUE(checked.whole()) << "line " << *checked.firstBadLine << ": " << checked.problem;
        ASSERT_EQ(checked.blocks.size(), file.blocks.size());
        std::size_t offset = 0;
        for (std::size_t i = 0; i < file.blocks.size(); ++i) {
            SCOPED_TRACE(i);
            expectSameBlock(checked.blocks[i], file.blocks[i].expected);
            EXPECT_EQ(checked.blocks[i].offset, offset);
            EXPECT_EQ(checked.blocks[i].length, file.blocks[i].bytes.size());
            offset += file.blocks[i].bytes.size();
        }
    }
}

TEST(AnswerFileCheckerTest, ACutAtAnyByteIsReportedAtTheFirstLineOfTheBlockItCut) {
    for (const FileCase& file : wellFormedFiles()) {
        SCOPED_TRACE(file.name);
        const std::string bytes = concatenated(file.blocks);
        std::vector<std::size_t> starts; // where each block begins, and its first line
        std::vector<std::size_t> firstLines;
        std::size_t offset = 0, lines = 0;
        for (const Written& block : file.blocks) {
            starts.push_back(offset);
            firstLines.push_back(lines + 1);
            offset += block.bytes.size();
            for (std::size_t at = 0; (at = block.bytes.find("\r\n", at)) != std::string::npos; at += 2)
                ++lines;
        }
        for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
            const CheckedAnswerFile checked = checkAnswerFile(std::string_view(bytes).substr(0, cut), file.kind);
            // The block the cut falls in: the last one starting at or before it.
            std::size_t cutBlock = 0;
            while (cutBlock + 1 < starts.size() && starts[cutBlock + 1] <= cut)
                ++cutBlock;
            if (cut == bytes.size() || (!starts.empty() && starts[cutBlock] == cut)) {
                EXPECT_TRUE(checked.whole()) << "cut at " << cut << ": " << checked.problem;
                continue;
            }
            ASSERT_FALSE(checked.whole()) << "cut at " << cut;
            EXPECT_EQ(checked.badOffset, starts[cutBlock]) << "cut at " << cut;
            EXPECT_EQ(*checked.firstBadLine, firstLines[cutBlock]) << "cut at " << cut;
            EXPECT_EQ(checked.blocks.size(), cutBlock) << "cut at " << cut;
            if (cutBlock > 0) {
                EXPECT_EQ(checked.blocks.back().length, file.blocks[cutBlock - 1].bytes.size()) << "cut at " << cut;
            }
        }
    }
}

TEST(AnswerFileCheckerTest, TextsHoldingTheFixedLinesAreReadAsRecordedOnlyWhenTheTextsAreGiven) {
    const auto master = AnswerFileKind::master;
    // An entry that holds an opener and the marker, and answers that hold a closer followed by lines that can
    // start a block: nothing in the file tells them from the real ones.
    const std::string entry = "see:\r\n" + opener + "\r\nRESPONSE -->  \r\nabove";
    const std::string first = "x\r\n" + closer + "\r\n" + opener + "\r\n" + timeLine;
    const std::string second = closer + "\r\nBz\r\nassignment #001\r\n" + "`questionNumber 10049 ";
    const std::string bytes = concatenated(
        {header("Bz", "t"), answer(master, entry, first), answer(master, "`q002.", second), note(entry, first)});

    const CheckedAnswerFile guessed = checkAnswerFile(bytes, master);
    const bool readAsWritten = guessed.whole() && guessed.blocks.size() == 4 && guessed.blocks[1].entry == entry &&
                               guessed.blocks[1].text == first && guessed.blocks[2].text == second;
    EXPECT_FALSE(readAsWritten);

    const CheckedAnswerFile exact = checkAnswerFile(bytes, master, {{entry, "`q002."}, {first, second}});
    ASSERT_TRUE(exact.whole()) << exact.problem;
    ASSERT_EQ(exact.blocks.size(), 4u);
    EXPECT_EQ(exact.blocks[1].entry, entry);
    EXPECT_EQ(exact.blocks[1].text, first);
    EXPECT_EQ(exact.blocks[2].text, second);
    EXPECT_EQ(exact.blocks[3].kind, FileBlock::Kind::notes);
    EXPECT_EQ(exact.blocks[3].text, first);
}

TEST(AnswerFileCheckerTest, ReportsTheFirstLineThatIsNotPartOfAWholeBlock) {
    const auto master = AnswerFileKind::master;
    const auto send = AnswerFileKind::send;
    const auto notes = AnswerFileKind::notes;
    const std::string head = header("Bz", "t").bytes;
    const std::string masterAnswer = answer(master, "e", "a").bytes;
    const std::string sendAnswer = answer(send, "e", "a").bytes;
    struct Case {
        const char* name;
        AnswerFileKind kind;
        std::string bytes;
        std::size_t firstBadLine;
        const char* problem;
        RecordedTexts recorded = {};
    };
    const std::vector<Case> cases = {
        {"stray line between blocks", master, head + "stray\r\n" + masterAnswer, 5, "starts no block"},
        {"master answer without key", master, head + sendAnswer, 5, "key line"},
        {"answer in the notes file", notes, note("e", "n").bytes + sendAnswer, 8, "date line"},
        {"header in the notes file", notes, head, 1, "starts no block"},
        {"header with another title", send, "Bz\r\nassignment #001\r\nt\r\nqa Fenwick\r\n", 1, "title"},
        {"hour out of range", send, opener + "\r\n" + std::string(36, ' ') + "24:00:00\r\ne\r\n", 1, "no block"},
        {"line feeds only", send, "Bz\nassignment #001\nt\nqa fenwick\n", 1, "partway through a line"},
        {"no closer", send, head + sendAnswer.substr(0, sendAnswer.size() - 51) + "\r\n", 5, "no record closer"},
        {"closer followed by a stray line", send, head + sendAnswer + "x\r\n", 12, "starts no block"},
        {"answer never recorded", send, head + sendAnswer, 5, "none of the recorded answers", {{}, {"b"}}},
        {"key line in a SEND record", send, head + masterAnswer, 5, "none of the recorded entries", {{"e"}, {}}},
    };
    for (const Case& c : cases) {
        const CheckedAnswerFile checked = checkAnswerFile(c.bytes, c.kind, c.recorded);
        ASSERT_FALSE(checked.whole()) << c.name;
        EXPECT_EQ(*checked.firstBadLine, c.firstBadLine) << c.name;
        EXPECT_NE(checked.problem.find(c.problem), std::string::npos) << c.name << ": " << checked.problem;
    }
}
