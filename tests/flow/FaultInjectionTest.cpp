#include "flow/BoxText.h"
#include "support/AnswerFileChecker.h"
#include "support/LogicHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <string>
#include <vector>

using namespace kelvrast;
using namespace kelvrast::testing;

// Makes the k-th file operation of a command fail, for k = 1, 2, ... until the command completes without meeting
// the fault, once with only that operation failing and once with every operation from it on failing (a disk
// that has gone bad, so that taking a block back out fails too). After every fault the files are read back
// block by block and compared with what was recorded.

namespace {

const std::string opener = "......!!!!!!!!...................................";
const std::string closer(49, '.');

enum class Mode { transient, persistent };
const char* modeName(Mode mode) {
    return mode == Mode::transient ? "transient" : "persistent";
}

// A block a file should hold: for records the entry and the answer (or note), for headers the third line.
struct Expected {
    FileBlock::Kind kind;
    std::string entry;
    std::string text;
    bool operator==(const Expected&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Expected& block) {
    return out << static_cast<int>(block.kind) << " [" << block.entry << "] [" << block.text << "]";
}

Expected expectedOf(const FileBlock& block) {
    if (block.kind == FileBlock::Kind::header)
        return {block.kind, "", block.thirdLine};
    return {block.kind, block.entry, block.text};
}

// Unique to its attempt, so that any part of a failed record left in a file would show; its lines look like the
// fixed lines of the format, which only reading against the recorded texts gets right.
std::string typedAnswer(std::size_t attempt) {
    return "attempt " + std::to_string(attempt) + "\r\n" + closer + "\r\n" + opener + "\r\n" + std::string(36, ' ') +
           "14:05:09\r\n`questionNumber 10049 \r\nRESPONSE -->  ";
}

std::string lastLineOf(const std::string& bytes) {
    const std::string body = bytes.substr(0, bytes.size() - 2);
    const std::size_t start = body.rfind("\r\n");
    return start == std::string::npos ? body : body.substr(start + 2);
}

class FaultInjectionTest : public ::testing::Test {
protected:
    struct File {
        const char* name;
        AnswerFileKind kind;
        std::filesystem::path path;
        std::vector<Expected> expected;
    };

    LogicHarness run;
    std::vector<File> files;
    std::vector<std::string> typed; // every answer typed, recorded or not

    void SetUp() override {
        ASSERT_TRUE(run.start(u"Ann Lee").ok());
        const std::string third = run.state().questionBank[run.state().bankIndex];
        files = {{"master", AnswerFileKind::master, run.state().masterFilePath, {header(third)}},
                 {"SEND", AnswerFileKind::send, run.state().sendFilePath, {header(third)}},
                 {"notes", AnswerFileKind::notes, run.state().notesFilePath, {}}};
    }

    static Expected header(const std::string& third) { return {FileBlock::Kind::header, "", third}; }

    std::vector<std::string> snapshot() const {
        std::vector<std::string> bytes;
        for (const File& file : files)
            bytes.push_back(readBytes(file.path));
        return bytes;
    }

    CheckedAnswerFile check(const File& file) const {
        RecordedTexts texts;
        texts.entries.push_back("");
        for (const std::string& entry : run.state().questionBank)
            if (!entry.empty())
                texts.entries.push_back(entry);
        texts.answers = typed;
        return checkAnswerFile(readBytes(file.path), file.kind, texts);
    }

    // Every file parses as whole blocks and holds exactly the blocks recorded so far.
    void expectFilesAsRecorded() const {
        for (const File& file : files) {
            const CheckedAnswerFile checked = check(file);
            ASSERT_TRUE(checked.whole()) << file.name << " line " << *checked.firstBadLine << ": " << checked.problem;
            std::vector<Expected> actual;
            for (const FileBlock& block : checked.blocks)
                actual.push_back(expectedOf(block));
            EXPECT_EQ(actual, file.expected) << file.name;
        }
    }

    // A bad disk can refuse to take a block back out: the file then keeps one whole copy of the record at its
    // end, and the message must say so.
    void acceptCopiesThatCouldNotBeTakenBack(const Expected& record, const std::u16string& message) {
        for (File& file : files) {
            const CheckedAnswerFile checked = check(file);
            ASSERT_TRUE(checked.whole()) << file.name << " line " << *checked.firstBadLine << ": " << checked.problem;
            if (checked.blocks.size() == file.expected.size() + 1 && expectedOf(checked.blocks.back()) == record) {
                file.expected.push_back(record);
                EXPECT_NE(message.find(file.path.u16string() + u" stays there"), std::u16string::npos)
                    << ::testing::PrintToString(message);
            }
        }
        expectFilesAsRecorded();
    }

    // Records one answer (or note) to a freshly shown entry, with the k-th file operation failing for k = 1, 2,
    // ... until the command completes. Returns the number of fault points.
    int recordWithFaults(bool notes, Mode mode) {
        run.logic.nextQuestionClicked();
        const std::string entry = run.state().currentLine;
        for (int k = 1;; ++k) {
            SCOPED_TRACE(std::string(notes ? "Save as Notes" : "Enter Response") + ", " + modeName(mode) +
                         " fault at operation " + std::to_string(k));
            const std::vector<std::string> before = snapshot();
            typed.push_back(typedAnswer(typed.size() + 1));
            const Expected record{notes ? FileBlock::Kind::notes : FileBlock::Kind::answer, entry, typed.back()};
            run.boxes.answer = toScreenText(typed.back());
            run.dialogs.messages.clear();
            run.files.operations = 0;
            run.files.failAt = k;
            run.files.keepFailing = mode == Mode::persistent;
            notes ? run.logic.saveAsNotesClicked() : run.logic.enterResponseClicked();
            run.files.failAt.reset();

            if (run.files.operations < k) {
                EXPECT_TRUE(run.dialogs.messages.empty());
                EXPECT_TRUE(run.boxes.answer.empty());
                for (File& file : files)
                    if (notes || file.kind != AnswerFileKind::notes)
                        file.expected.push_back(record);
                expectFilesAsRecorded();
                return k - 1;
            }
            EXPECT_EQ(run.boxes.answer, toScreenText(typed.back()));
            EXPECT_TRUE(run.state().awaitingResponse);
            EXPECT_FALSE(run.programEnd.exitStatus);
            EXPECT_EQ(run.dialogs.messages.size(), 1u);
            const std::u16string message = run.dialogs.messages.empty() ? u"" : run.dialogs.messages[0];
            EXPECT_NE(message.find(u"not recorded"), std::u16string::npos) << ::testing::PrintToString(message);
            if (mode == Mode::transient) {
                EXPECT_EQ(snapshot(), before);
                expectFilesAsRecorded();
            } else {
                acceptCopiesThatCouldNotBeTakenBack(record, message);
            }
        }
    }
};

} // namespace

TEST_F(FaultInjectionTest, RecordingCommandsLeaveWholeBlocksAndKeepTheAnswerDue) {
    struct Figure {
        const char* command;
        bool notes;
        Mode mode;
        int faultPoints;
    };
    const std::vector<Figure> figures = {
        {"Enter Response", false, Mode::transient, 2},
        {"Save as Notes", true, Mode::transient, 3},
        {"Enter Response", false, Mode::persistent, 2},
        {"Save as Notes", true, Mode::persistent, 3},
    };
    for (const Figure& figure : figures) {
        const int points = recordWithFaults(figure.notes, figure.mode);
        EXPECT_EQ(points, figure.faultPoints) << figure.command << ", " << modeName(figure.mode);
        std::cout << "[ figures  ] " << figure.command << ": " << points << " fault points (" << modeName(figure.mode)
                  << ")\n";
    }
}

TEST_F(FaultInjectionTest, StartUpEndsWithAWholeHeaderInBothFilesOrWithAMessageAndNoHeader) {
    ASSERT_EQ(recordWithFaults(false, Mode::transient), 2);
    ASSERT_EQ(recordWithFaults(true, Mode::transient), 3);
    for (Mode mode : {Mode::transient, Mode::persistent}) {
        int faultPoints = 0;
        for (int k = 1;; ++k) {
            SCOPED_TRACE(std::string("start-up, ") + modeName(mode) + " fault at operation " + std::to_string(k));
            const std::vector<std::string> before = snapshot();
            const Expected newHeader = header(lastLineOf(before[0]));
            MainWindowLogic again(run.platform, run.folder());
            run.dialogs.inputs.push_back(u"Ann Lee");
            run.dialogs.messages.clear();
            run.files.operations = 0;
            run.files.log.clear();
            run.files.failAt = k;
            run.files.keepFailing = mode == Mode::persistent;
            const Status started = again.load();
            run.files.failAt.reset();

            const bool metFault = run.files.operations >= k;
            faultPoints += metFault;
            if (metFault && mode == Mode::transient) {
                const std::string& failed = run.files.log[k - 1];
                const bool guarded = failed.starts_with("createFolder") || failed.starts_with("touch send_");
                EXPECT_EQ(started.ok(), guarded) << failed;
            }
            EXPECT_TRUE(run.dialogs.messages.empty());
            EXPECT_FALSE(run.programEnd.exitStatus);
            if (started.ok()) {
                // Creating the folder and the SEND file are guarded: a fault there goes unreported.
                files[0].expected.push_back(newHeader);
                files[1].expected.push_back(newHeader);
                expectFilesAsRecorded();
            } else {
                EXPECT_TRUE(metFault);
                EXPECT_NE(started.message().find(u"cannot start"), std::u16string::npos)
                    << ::testing::PrintToString(started.message());
                if (mode == Mode::transient) {
                    EXPECT_EQ(snapshot(), before);
                    expectFilesAsRecorded();
                } else {
                    acceptCopiesThatCouldNotBeTakenBack(newHeader, started.message());
                }
            }
            if (!metFault)
                break;
        }
        EXPECT_EQ(faultPoints, 6) << modeName(mode);
        std::cout << "[ figures  ] start-up: " << faultPoints << " fault points (" << modeName(mode) << ")\n";
    }
}

TEST_F(FaultInjectionTest, DisplayCommandsReportAFaultChangeNoFileAndTheProgramGoesOn) {
    ASSERT_EQ(recordWithFaults(true, Mode::transient), 3);
    struct Command {
        const char* name;
        std::function<void()> click;
    };
    const std::vector<Command> commands = {
        {"display notes", [&] { run.logic.displayNotesClicked(); }},
        {"display SEND file", [&] { run.logic.displaySendFileClicked(); }},
    };
    for (const Command& command : commands) {
        for (Mode mode : {Mode::transient, Mode::persistent}) {
            int faultPoints = 0;
            for (int k = 1;; ++k) {
                SCOPED_TRACE(std::string(command.name) + ", " + modeName(mode) + " fault at " + std::to_string(k));
                const std::vector<std::string> before = snapshot();
                const std::string textBuffer = run.state().textBuffer;
                run.boxes.question = u"shown";
                run.dialogs.messages.clear();
                run.files.operations = 0;
                run.files.failAt = k;
                run.files.keepFailing = mode == Mode::persistent;
                command.click();
                run.files.failAt.reset();
                EXPECT_EQ(snapshot(), before);
                if (run.files.operations < k) {
                    EXPECT_TRUE(run.dialogs.messages.empty());
                    EXPECT_GT(run.boxes.question.size(), 5u);
                    break;
                }
                ++faultPoints;
                EXPECT_EQ(run.dialogs.messages.size(), 1u);
                EXPECT_EQ(run.boxes.question, u"shown");
                EXPECT_EQ(run.state().textBuffer, textBuffer);
                EXPECT_FALSE(run.programEnd.exitStatus);
            }
            EXPECT_EQ(faultPoints, 1) << command.name;
            std::cout << "[ figures  ] " << command.name << ": " << faultPoints << " fault point (" << modeName(mode)
                      << ")\n";
        }
    }
    expectFilesAsRecorded();
}
