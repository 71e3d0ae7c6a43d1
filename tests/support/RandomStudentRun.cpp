#include "support/RandomStudentRun.h"

#include "form/Form.h"
#include "support/AnswerFileChecker.h"
#include "support/TempFolder.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

namespace kelvrast::testing {
namespace {

constexpr std::size_t actionsBetweenChecks = 10;
constexpr std::size_t actionsInReport = 12;
constexpr std::u16string_view closingMessageStart = u"You have answered the last question";
constexpr std::u16string_view draftBackMessageStart = u"The text you were typing when the program last ended is back";

std::optional<form::Command> commandOf(const Action& action) {
    if (action.kind != Action::Kind::click)
        return std::nullopt;
    return form::controls()[action.row].command;
}

// A text the program acknowledged recording, as the files must hold it.
struct ExpectedRecord {
    FileBlock::Kind kind;
    std::string text; // in Windows-1252, a note without its prefix
    bool certain;     // false when the boxes were empty already, so that their clearing acknowledged nothing
    std::size_t actionIndex;
};

struct AnswerFile {
    AnswerFileKind kind;
    std::vector<ExpectedRecord> expected;
};

// The text of both large boxes.
struct Boxes {
    std::u16string question, answer;

    bool empty() const { return question.empty() && answer.empty(); }
    bool operator==(const Boxes&) const = default;
};

class Play {
public:
    Play(StudentsWindow& window, const RandomRun& run) : window_(window), run_(run), student_(run.seed) {
        window_.answerDialog = [this](DialogKind kind, std::u16string_view text) { return answer(kind, text); };
    }
    ~Play() { window_.answerDialog = nullptr; }
    Play(const Play&) = delete;
    Play& operator=(const Play&) = delete;

    std::optional<std::string> play();
    const RandomTally& tally() const { return tally_; }

private:
    std::optional<std::string> start();
    std::optional<std::string> startAgain();
    std::optional<std::string> checkEnd(const Action& action);
    void noteRecording(const Action& action, const std::u16string& questionBefore, const std::u16string& answerBefore);
    void noteDraft(const Action& action, const Boxes& before);
    DialogAnswer answer(DialogKind kind, std::u16string_view text);
    std::string failure(const std::string& problem) const;
    void log(std::string line);

    // The promises, each giving the problem it finds.
    std::optional<std::string> checkFilesAreWholeBlocks();
    std::optional<std::string> checkAcknowledgedTextsAreRecorded(const std::filesystem::path& path,
                                                                 const AnswerFile& file,
                                                                 const std::vector<FileBlock>& blocks);
    std::optional<std::string> checkDraftAfterRestart();

    StudentsWindow& window_;
    RandomRun run_;
    RandomStudent student_;
    std::size_t index_ = 0;
    std::deque<std::string> recent_;
    bool closingShown_ = false;
    std::map<std::filesystem::path, AnswerFile> files_;
    // What the boxes held when the program was last killed or ended.
    std::u16string questionBeforeEnd_, typedBeforeEnd_;
    // For each name, what the student last left in the boxes and the program has not recorded, cleared or replaced.
    std::map<std::u16string, Boxes> drafts_;
    std::set<std::u16string> questionTyped_; // names whose draft holds text the student typed in the Question box
    std::u16string name_;
    bool draftShown_ = false;
    RandomTally tally_;
};

std::optional<std::string> Play::play() {
    if (auto failed = start())
        return failed;
    for (index_ = 0; index_ < run_.actions; ++index_) {
        const Action action = student_.nextAction();
        log("#" + std::to_string(index_) + " " + describe(action));
        questionBeforeEnd_ = window_.questionText();
        typedBeforeEnd_ = window_.answerText();
        if (action.kind == Action::Kind::kill) {
            // Every kill comes a second or more after the last keystroke: one an instant after it may lose that
            // second's typing, which the program allows.
            window_.keepDraftNow();
            if (auto failed = startAgain())
                return failed;
            continue;
        }
        closingShown_ = false;
        window_.act(action);
        if (auto failed = checkEnd(action))
            return failed;
        noteRecording(action, questionBeforeEnd_, typedBeforeEnd_);
        noteDraft(action, {questionBeforeEnd_, typedBeforeEnd_});
        if (!window_.running()) {
            if (auto failed = startAgain())
                return failed;
        } else if (index_ % actionsBetweenChecks == 0) {
            if (auto failed = checkFilesAreWholeBlocks())
                return failed;
        }
    }
    return checkFilesAreWholeBlocks();
}

// A new program on the working folder; its files are checked from now on.
std::optional<std::string> Play::start() {
    draftShown_ = false;
    window_.start();
    if (!window_.running())
        return failure("the program did not start");
    ++tally_.starts;
    name_ = window_.studentName();
    const StudentFiles started = window_.files();
    files_[started.master].kind = AnswerFileKind::master;
    files_[started.send].kind = AnswerFileKind::send;
    files_[started.notes].kind = AnswerFileKind::notes;
    return std::nullopt;
}

// After a kill or an end: a new program on the same files, and what must hold after every such start.
std::optional<std::string> Play::startAgain() {
    window_.abandon();
    if (auto failed = start())
        return failed;
    for (auto check : {&Play::checkFilesAreWholeBlocks, &Play::checkDraftAfterRestart})
        if (auto failed = (this->*check)())
            return failed;
    return std::nullopt;
}

// The program ends by "quit program", the end of the question bank or the frame's close, and by nothing else.
std::optional<std::string> Play::checkEnd(const Action& action) {
    const bool endTaken =
        action.kind == Action::Kind::closeFrame || commandOf(action) == form::Command::quit || closingShown_;
    if (window_.running() == !endTaken)
        return std::nullopt;
    return failure(endTaken ? "the program goes on after an end was taken"
                            : "the program ended, though neither \"quit program\", the end of the question bank nor "
                              "the frame's close was taken");
}

// Both boxes emptied by "Enter Response" or "Save as Notes": the program says the answer is recorded.
void Play::noteRecording(const Action& action, const std::u16string& questionBefore,
                         const std::u16string& answerBefore) {
    const std::optional<form::Command> command = commandOf(action);
    if (command != form::Command::enterResponse && command != form::Command::saveAsNotes)
        return;
    if (!window_.running() || !window_.questionText().empty() || !window_.answerText().empty())
        return;
    const bool notes = command == form::Command::saveAsNotes;
    const ExpectedRecord record{notes ? FileBlock::Kind::notes : FileBlock::Kind::answer,
                                codepage::fromUnicode(answerBefore).bytes,
                                !questionBefore.empty() || !answerBefore.empty(), index_};
    ++tally_.recordings;
    const StudentFiles now = window_.files();
    files_[now.master].expected.push_back(record);
    files_[now.send].expected.push_back(record);
    if (notes)
        files_[now.notes].expected.push_back(record);
}

// Each change the student makes to the boxes is kept; the program's own changes are not the student's typing, and
// the commands that record, clear or replace the boxes' text drop the draft.
void Play::noteDraft(const Action& action, const Boxes& before) {
    using form::Command;
    const Boxes now{window_.questionText(), window_.answerText()};
    const std::optional<Command> command = commandOf(action);
    const bool recorded = (command == Command::enterResponse || command == Command::saveAsNotes) && now.empty();
    const bool studentTyped = !command && now != before;
    if (studentTyped && now.question != before.question)
        questionTyped_.insert(name_);
    // "Clear" empties the Answer box alone: what the student typed in the Question box is still to be kept.
    const bool keptByClear = command == Command::clear && questionTyped_.contains(name_) && !now.question.empty();
    const bool changedByStudent = studentTyped || keptByClear;
    if (changedByStudent && !now.empty()) {
        drafts_[name_] = now;
    } else if (changedByStudent || recorded || command == Command::nextQuestion || command == Command::clear) {
        drafts_.erase(name_);
        questionTyped_.erase(name_);
    }
    // A second passes after each change of the student's: the draft is the student's text, not the text a command
    // puts in the boxes an instant later.
    if (changedByStudent)
        window_.keepDraftNow();
}

// The draft is back in the boxes after a start under its name, and nothing comes back where no draft was left.
std::optional<std::string> Play::checkDraftAfterRestart() {
    const auto kept = drafts_.find(name_);
    if (kept == drafts_.end() && draftShown_)
        return failure("a draft came back, though its text was recorded, cleared or replaced");
    if (kept == drafts_.end())
        return std::nullopt;
    if (!draftShown_)
        return failure("the text left in the boxes did not come back as a draft");
    if (Boxes{window_.questionText(), window_.answerText()} != kept->second)
        return failure(
            "the boxes do not hold the draft as it was left: " + std::to_string(window_.questionText().size()) +
            " and " + std::to_string(window_.answerText().size()) + " characters instead of " +
            std::to_string(kept->second.question.size()) + " and " + std::to_string(kept->second.answer.size()));
    ++tally_.draftsBack;
    // Brought back, the whole text counts as the student's.
    if (!kept->second.question.empty())
        questionTyped_.insert(name_);
    return std::nullopt;
}

DialogAnswer Play::answer(DialogKind kind, std::u16string_view text) {
    if (text.starts_with(draftBackMessageStart))
        draftShown_ = true;
    if (text.starts_with(closingMessageStart)) {
        closingShown_ = true;
        ++tally_.endsOfBank;
    }
    ++tally_.dialogs;
    const DialogAnswer given = student_.answer(kind);
    std::string shown;
    for (char16_t c : text.substr(0, 60))
        shown += c < 0x80 && c >= 0x20 ? static_cast<char>(c) : '~';
    log("  a dialog: \"" + shown + "\"");
    log(describe(kind, given));
    return given;
}

std::optional<std::string> Play::checkFilesAreWholeBlocks() {
    for (const auto& [path, file] : files_) {
        RecordedTexts recorded;
        for (const ExpectedRecord& each : file.expected)
            recorded.answers.push_back(each.text);
        const CheckedAnswerFile checked = checkAnswerFile(readBytes(path), file.kind, recorded);
        if (!checked.whole())
            return failure(path.filename().string() + " is not whole blocks from line " +
                           std::to_string(*checked.firstBadLine) + ": " + checked.problem);
        if (auto failed = checkAcknowledgedTextsAreRecorded(path, file, checked.blocks))
            return failed;
    }
    return std::nullopt;
}

// The file's records are the acknowledged texts in the order of their recording; one whose boxes were empty already
// may be there or not.
std::optional<std::string> Play::checkAcknowledgedTextsAreRecorded(const std::filesystem::path& path,
                                                                   const AnswerFile& file,
                                                                   const std::vector<FileBlock>& blocks) {
    const std::string name = path.filename().string();
    std::size_t next = 0;
    std::size_t count = 0;
    for (const FileBlock& block : blocks) {
        if (block.kind == FileBlock::Kind::header)
            continue;
        ++count;
        auto matches = [&](const ExpectedRecord& each) { return each.kind == block.kind && each.text == block.text; };
        while (next < file.expected.size() && !file.expected[next].certain && !matches(file.expected[next]))
            ++next;
        if (next == file.expected.size() || !matches(file.expected[next]))
            return failure(name + " holds record " + std::to_string(count) + " (line " +
                           std::to_string(block.firstLine) + "), which was not recorded there in that order");
        ++next;
    }
    for (; next < file.expected.size(); ++next)
        if (file.expected[next].certain)
            return failure(name + " lacks the text whose recording was acknowledged at action #" +
                           std::to_string(file.expected[next].actionIndex));
    return std::nullopt;
}

void Play::log(std::string line) {
    recent_.push_back(std::move(line));
    if (recent_.size() > actionsInReport)
        recent_.pop_front();
}

std::string Play::failure(const std::string& problem) const {
    std::ostringstream report;
    report << "The random student with seed " << run_.seed << ", at action #" << index_ << " of " << run_.actions
           << ": " << problem << "\nReplay it with KELVRAST_RANDOM_SEED=" << run_.seed
           << " KELVRAST_RANDOM_ACTIONS=" << index_ + 1 << ". The last actions:\n";
    for (const std::string& line : recent_)
        report << "  " << line << "\n";
    return report.str();
}

std::optional<std::uint64_t> numberFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::strtoull(value, nullptr, 10);
}

} // namespace

std::vector<std::uint64_t> seedsFrom(std::uint64_t first, std::size_t count) {
    std::vector<std::uint64_t> seeds;
    for (std::size_t i = 0; i < count; ++i)
        seeds.push_back(first + i);
    return seeds;
}

std::vector<RandomRun> randomRuns(const std::vector<std::uint64_t>& fixedSeeds, std::size_t actions) {
    const std::optional<std::uint64_t> seed = numberFromEnvironment("KELVRAST_RANDOM_SEED");
    const std::optional<std::uint64_t> asked = numberFromEnvironment("KELVRAST_RANDOM_ACTIONS");
    if (seed)
        return {{*seed, asked ? static_cast<std::size_t>(*asked) : actions}};
    std::vector<RandomRun> runs;
    for (std::uint64_t each : fixedSeeds)
        runs.push_back({each, actions});
    return runs;
}

RandomTally& RandomTally::operator+=(const RandomTally& other) {
    starts += other.starts;
    recordings += other.recordings;
    dialogs += other.dialogs;
    endsOfBank += other.endsOfBank;
    draftsBack += other.draftsBack;
    return *this;
}

RandomRunResult playRandomStudent(StudentsWindow& window, const RandomRun& run) {
    Play play(window, run);
    std::optional<std::string> failure = play.play();
    return {std::move(failure), play.tally()};
}

void playRandomStudents(const std::function<std::unique_ptr<StudentsWindow>()>& makeWindow,
                        const std::vector<std::uint64_t>& fixedSeeds, std::size_t actions) {
    const std::vector<RandomRun> runs = randomRuns(fixedSeeds, actions);
    RandomTally total;
    for (const RandomRun& run : runs) {
        const std::unique_ptr<StudentsWindow> window = makeWindow();
        const RandomRunResult result = playRandomStudent(*window, run);
        total += result.tally;
        ASSERT_FALSE(result.failure) << *result.failure;
    }
    std::cout << runs.size() << " runs: " << total.starts << " starts, " << total.recordings
              << " recordings acknowledged, " << total.dialogs << " dialogs answered, " << total.endsOfBank
              << " ends of the question bank, " << total.draftsBack << " drafts back after a restart\n";
    if (runs.size() > 1) {
        EXPECT_GT(total.starts, runs.size()) << "no kill or end was ever taken";
        EXPECT_GT(total.recordings, 0u);
        EXPECT_GT(total.dialogs, 0u);
        EXPECT_GT(total.endsOfBank, 0u);
        EXPECT_GT(total.draftsBack, 0u);
    }
}

} // namespace kelvrast::testing
