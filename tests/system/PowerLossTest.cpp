// A power cut after any one call of this system's file layer, and each state a disk may have kept then (see
// support/SimulatedDiskModel.h and the system's adapter below it), followed by the program's own start-up on that
// state, the one a student's start runs, twice: every block the student was told is in stays whole, in its place;
// no file holds part of a block; the master and SEND files hold the same answers; the resume scan reads the master
// file; the second start changes nothing but its own header. A student's edit between the kill and the start stays.
// The same table runs on Linux over PosixFiles and on Windows over Win32Files.
//
// Each crash point restarts once in every mode but somePagesKept, which tries every subset of the unflushed
// sectors, sizes and entries when there are at most 10, and a fixed, seeded sample of 24 otherwise.
// KELVRAST_POWER_CUT_SAMPLES=N raises that to N (for instance 4096) for a longer run.
#include "flow/AnswerRecords.h"
#include "flow/MainWindowLogic.h"
#include "support/FakeBeep.h"
#include "support/FakeClock.h"
#include "support/FakePictureBox.h"
#include "support/FakeProgramEnd.h"
#include "support/FakeTextBoxes.h"
#include "support/FakeTimer.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedRandom.h"
#include "system/SystemFiles.h"
#include "system/shared/UnfinishedAppend.h"
#ifdef _WIN32
#include "support/windows/SimulatedWin32Disk.h"
#else
#include "support/posix/SimulatedDisk.h"
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <set>

using namespace kelvrast;
using namespace kelvrast::testing;

namespace {

#ifdef _WIN32
using SimulatedDisk = kelvrast::testing::SimulatedWin32Disk;
const std::filesystem::path folder = "c:\\kelvrast";
const std::vector<std::filesystem::path> homeFolders; // the root of c: is all there is
#else
using kelvrast::testing::SimulatedDisk;
const std::filesystem::path folder = "/home/ann/kelvrast";
const std::vector<std::filesystem::path> homeFolders = {"/home", "/home/ann"};
#endif
const std::filesystem::path master = folder / "masterFile_Ann.txt";
const std::filesystem::path send = folder / "send_1209Ann.txt";
const std::filesystem::path notes = folder / "notes_Ann.txt";
const std::filesystem::path query = folder / "queri.txt";

// Blocks of different lengths, so that they start and end at different places in their pages.
std::string answerText(int question) {
    std::string text;
    for (int line = 0; text.size() < 900u + 1300u * static_cast<unsigned>(question % 4); ++line)
        text += "question " + std::to_string(question) + ", line " + std::to_string(line) + " of the answer\r\n";
    return text;
}

std::vector<PendingBlock> answerOf(int question) {
    const std::string entry = "`q" + std::to_string(100 + question).substr(1) + " The question";
    return {{master, records::answerBlock({"14:05:09", 10000.0 + question, entry, answerText(question)})},
            {send, records::answerBlock({"14:05:10", std::nullopt, entry, answerText(question)})}};
}

// Made once: every restart compares with them.
const std::vector<PendingBlock>& enterResponse(int question) {
    static std::map<int, std::vector<PendingBlock>> made;
    auto [at, added] = made.try_emplace(question);
    if (added)
        at->second = answerOf(question);
    return at->second;
}

std::vector<PendingBlock> saveAsNotes(int note) {
    const std::string block = records::notesBlock(
        {"14:06:00", "12-09-2026", "14:06:01", "`q003 The question", "NOTES -------> " + answerText(note)});
    return {{master, block}, {send, block}, {notes, block}};
}

// Stands in the ledger for the header that a start of the program writes.
const std::string header = "<the header of a start>";

// What a run tried to record and what it was told went in; the answers that go to several files together.
struct Ledger {
    std::map<std::filesystem::path, std::vector<std::string>> tried, acknowledged;
    std::vector<std::vector<PendingBlock>> groups;
    std::optional<std::string> queryBefore, queryTried;
    bool queryAcknowledged = false;

    void record(Files& files, const std::vector<PendingBlock>& blocks) {
        groups.push_back(blocks);
        for (const PendingBlock& block : blocks)
            tried[block.file].push_back(block.bytes);
        if (files.appendBlocks(blocks).ok())
            acknowledge(blocks);
    }
    void acknowledge(const std::vector<PendingBlock>& blocks) {
        for (const PendingBlock& block : blocks)
            acknowledged[block.file].push_back(block.bytes);
    }
};

// The system's files on the simulated disk. Keeping the folder private is done through the real system, not through
// the disk's calls: here there is nothing for it to act on.
class FilesOnTheDisk final : public SystemFiles {
public:
    using SystemFiles::SystemFiles;
    Status keepPrivate(const std::filesystem::path&) override { return Status::success(); }
};

// The program's own start on the disk, as a student's start runs it: the name asked, the files made or repaired,
// the master file scanned and the header written.
struct ProgramStart {
    FakeClock clock;
    ScriptedRandom random{{0.5f}};
    FilesOnTheDisk files;
    ScriptedDialogs dialogs;
    FakeTextBoxes boxes;
    FakePictureBox picture1, picture2;
    FakeProgramEnd programEnd;
    FakeBeep beep;
    FakeTimer pendulumTimer;
    Platform platform{clock, random, files, dialogs, programEnd, beep, &boxes, &picture1, &picture2, &pendulumTimer};
    MainWindowLogic logic{platform, folder};
    Status started = Status::success();

    ProgramStart(SimulatedDisk& disk, Ledger& ledger) : files(disk) {
        random.repeatLast = true;
        clock.dateText = "12-09-2026";
        dialogs.inputs.push_back(u"Ann");
        const std::vector<PendingBlock> headers = {{master, header}, {send, header}};
        ledger.groups.push_back(headers);
        for (const PendingBlock& block : headers)
            ledger.tried[block.file].push_back(block.bytes);
        started = logic.load();
        // A start that could not finish a repair says so and writes no header.
        if (started.ok() && dialogs.messages.empty())
            ledger.acknowledge(headers);
    }
};

void firstStart(SimulatedDisk& disk, Ledger& ledger) {
    ProgramStart start(disk, ledger);
}

void answers(SimulatedDisk& disk, Ledger& ledger) {
    SystemFiles files(disk);
    for (int question = 1; question <= 2; ++question)
        ledger.record(files, enterResponse(question));
}

void notesSaved(SimulatedDisk& disk, Ledger& ledger) {
    SystemFiles files(disk);
    ledger.record(files, saveAsNotes(7));
}

std::int64_t nowStamp() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// An answer that a power cut stopped: its note names the master and SEND files; the master file kept its block's
// first page and a size partway past it, zeros after; the SEND file kept a few sectors of its block.
void torn(SimulatedDisk& disk, Ledger& ledger) {
    firstStart(disk, ledger);
    answers(disk, ledger);
    const std::vector<PendingBlock> blocks = enterResponse(3);
    ledger.groups.push_back(blocks);
    for (const PendingBlock& block : blocks)
        ledger.tried[block.file].push_back(block.bytes);
    const std::string masterBefore = disk.bytesOf(master).value();
    const std::string sendBefore = disk.bytesOf(send).value();
    const std::string& block = blocks[0].bytes;
    const std::size_t firstPage = SimulatedDisk::pageSize - masterBefore.size() % SimulatedDisk::pageSize;
    const std::string tail = block.substr(0, firstPage) + std::string((block.size() - firstPage) / 2, '\0');
    SystemFiles files(disk);
    EXPECT_TRUE(files
                    .writeFile(unfinished::notePath(master),
                               unfinished::stampedNoteOf({{{}, masterBefore.size(), block},
                                                          {send.filename(), sendBefore.size(), blocks[1].bytes}},
                                                         nowStamp()))
                    .ok());
    EXPECT_TRUE(files.writeFile(master, masterBefore + tail).ok());
    EXPECT_TRUE(files.writeFile(send, sendBefore + blocks[1].bytes.substr(0, 3 * SimulatedDisk::sectorSize)).ok());
}

void queryWritten(SimulatedDisk& disk, Ledger& ledger) {
    ledger.queryTried = "the new query file\r\n" + answerText(2);
    ledger.queryAcknowledged = SystemFiles(disk).writeFile(query, *ledger.queryTried).ok();
}

// Two copies of the program: one records between the two appends of the other's answer.
void twoCopies(SimulatedDisk& disk, Ledger& ledger) {
    SystemFiles first(disk), second(disk);
    const std::vector<PendingBlock> own = enterResponse(5);
    ledger.tried[master].push_back(own[0].bytes);
    Result<AppendReceipt> inMaster = first.appendBlock(master, own[0].bytes);
    if (!inMaster.ok())
        return;
    ledger.record(second, enterResponse(6));
    ledger.tried[send].push_back(own[1].bytes);
    if (first.appendBlock(send, own[1].bytes).ok())
        ledger.acknowledge(own);
    else
        static_cast<void>(first.takeBack(master, inMaster.value())); // what it left is checked after the restart
}

struct Scenario {
    const char* name;
    std::function<void(SimulatedDisk&, Ledger&)> before; // flushed before the power may go
    std::function<void(SimulatedDisk&, Ledger&)> during;
};

const std::vector<Scenario> scenarios = {
    {"first start", [](SimulatedDisk&, Ledger&) {}, firstStart},
    {"Enter Response", firstStart, answers},
    {"Save as Notes", [](SimulatedDisk& disk, Ledger& ledger) { firstStart(disk, ledger), answers(disk, ledger); },
     notesSaved},
    {"a start that repairs", torn, firstStart},
    {"two copies at once", [](SimulatedDisk& disk, Ledger& ledger) { firstStart(disk, ledger), answers(disk, ledger); },
     twoCopies},
    {"a query file written",
     [](SimulatedDisk& disk, Ledger& ledger) {
         firstStart(disk, ledger);
         ledger.queryBefore = "the query file before\r\n";
         EXPECT_TRUE(SystemFiles(disk).writeFile(query, *ledger.queryBefore).ok());
     },
     queryWritten},
};

SimulatedDisk homeFolder() {
    SimulatedDisk disk;
    for (const std::filesystem::path& made : homeFolders)
        disk.makeDurableFolder(made);
    return disk;
}

// The blocks the file holds, in order, each one the run tried or a start's header (four lines that open with the
// code line every start here writes); nothing when some bytes are no whole block of it.
std::optional<std::vector<std::string>> wholeBlocks(std::string_view bytes, const std::vector<std::string>& known,
                                                    const std::string& codeLine) {
    std::vector<std::string> found;
    while (!bytes.empty()) {
        const auto block = std::find_if(known.begin(), known.end(),
                                        [&](const std::string& b) { return b != header && bytes.starts_with(b); });
        if (block != known.end()) {
            found.push_back(*block);
            bytes.remove_prefix(block->size());
            continue;
        }
        if (!bytes.starts_with(codeLine + "\r\n"))
            return std::nullopt;
        for (int line = 0; line < 4; ++line) {
            const std::size_t end = bytes.find("\r\n");
            if (end == std::string_view::npos)
                return std::nullopt;
            bytes.remove_prefix(end + 2);
        }
        found.push_back(header);
    }
    return found;
}

// The code line that opens the header of every start here: the random numbers are the same each time.
const std::string& codeLineOfAStart() {
    static const std::string line = [] {
        SimulatedDisk disk = homeFolder();
        Ledger ledger;
        firstStart(disk, ledger);
        const std::string bytes = disk.bytesOf(master).value_or("");
        return bytes.substr(0, bytes.find("\r\n"));
    }();
    return line;
}

// What breaks a promise in the files as a start left them, in words.
void checkFiles(const SimulatedDisk& disk, const Ledger& ledger, std::vector<std::string>& violations) {
    std::map<std::filesystem::path, std::vector<std::string>> held;
    for (const auto& [file, tried] : ledger.tried) {
        const std::optional<std::vector<std::string>> blocks =
            wholeBlocks(disk.bytesOf(file).value_or(""), tried, codeLineOfAStart());
        if (!blocks) {
            violations.push_back(file.filename().string() + " holds part of a block");
            continue;
        }
        held[file] = *blocks;
        // Appends to one file go in one at a time, in the order they were tried.
        const auto told = ledger.acknowledged.find(file);
        const std::vector<std::string> none;
        const std::vector<std::string>& acknowledged = told == ledger.acknowledged.end() ? none : told->second;
        auto acknowledgedOf = [&](const std::vector<std::string>& blocks) {
            std::multiset<std::string> left(acknowledged.begin(), acknowledged.end());
            std::vector<std::string> taken;
            for (const std::string& block : blocks)
                if (const auto at = left.find(block); at != left.end())
                    taken.push_back(block), left.erase(at);
            return taken;
        };
        if (acknowledgedOf(*blocks) != acknowledgedOf(tried))
            violations.push_back(file.filename().string() + " lost or moved an acknowledged block");
    }
    // An answer is in every file of its group or in none; so is each start's header.
    for (const std::vector<PendingBlock>& group : ledger.groups) {
        std::set<long> counts;
        for (const PendingBlock& block : group)
            if (held.count(block.file))
                counts.insert(std::count(held[block.file].begin(), held[block.file].end(), block.bytes));
        if (counts.size() > 1)
            violations.push_back("the files of one answer disagree: " + group.front().file.filename().string() +
                                 " and " + group.back().file.filename().string());
    }
    if (ledger.queryTried) {
        const std::optional<std::string> bytes = disk.bytesOf(query);
        if (ledger.queryAcknowledged ? bytes != ledger.queryTried
                                     : bytes != ledger.queryTried && bytes != ledger.queryBefore)
            violations.push_back("the query file is neither the old one nor the new one");
    }
}

// Start-up on the disk as the power cut left it, twice; what breaks a promise, in words.
std::vector<std::string> violationsAfterRestart(SimulatedDisk disk, Ledger ledger,
                                                const std::optional<std::string>& editedSend = std::nullopt) {
    std::vector<std::string> violations;
    const ProgramStart first(disk, ledger);
    if (!first.started.ok())
        violations.push_back("the start failed");
    for (const auto& block : ledger.acknowledged[master])
        for (int question = 1; question <= 6; ++question)
            if (block == enterResponse(question).front().bytes &&
                first.logic.state().progressTable[1][question] != question)
                violations.push_back("the resume scan misses question " + std::to_string(question));
    if (editedSend) {
        if (!disk.bytesOf(send).value_or("").starts_with(*editedSend))
            violations.push_back("the student's edit of the SEND file was cut");
        ledger.tried.erase(send);
        ledger.groups.clear();
    }
    checkFiles(disk, ledger, violations);
    const std::string masterOnce = disk.bytesOf(master).value_or("");
    const std::string sendOnce = disk.bytesOf(send).value_or("");
    const ProgramStart second(disk, ledger);
    if (!second.started.ok() || !second.dialogs.messages.empty())
        violations.push_back("the second start failed");
    const std::string masterTwice = disk.bytesOf(master).value_or("");
    const std::string sendTwice = disk.bytesOf(send).value_or("");
    if (!masterTwice.starts_with(masterOnce) || !sendTwice.starts_with(sendOnce) ||
        masterTwice.size() - masterOnce.size() != sendTwice.size() - sendOnce.size())
        violations.push_back("the second start changed what the first left");
    return violations;
}

// The unflushed sectors, sizes and entries kept, for each restart in somePagesKept mode.
std::vector<std::vector<bool>> subsetsToTry(std::size_t choices, std::size_t samples, unsigned seed) {
    std::vector<std::vector<bool>> subsets;
    if (choices <= 10 || (choices < 32 && (std::size_t{1} << choices) <= samples)) {
        for (std::size_t bits = 0; bits < (std::size_t{1} << choices); ++bits) {
            std::vector<bool> kept(choices);
            for (std::size_t i = 0; i < choices; ++i)
                kept[i] = (bits >> i) & 1;
            subsets.push_back(kept);
        }
        return subsets;
    }
    std::mt19937 random(seed);
    for (std::size_t sample = 0; sample < samples; ++sample) {
        std::vector<bool> kept(choices);
        for (std::size_t i = 0; i < choices; ++i)
            kept[i] = random() & 1;
        subsets.push_back(kept);
    }
    return subsets;
}

std::size_t samplesWanted() {
    const char* wanted = std::getenv("KELVRAST_POWER_CUT_SAMPLES");
    return wanted ? std::max<std::size_t>(1, std::strtoul(wanted, nullptr, 10)) : 24;
}

// The disk after a kill, with the SEND file as a student may save it in an editor before the next start: without
// its last line end, or without its last line; and the bytes the edit kept.
std::vector<std::pair<SimulatedDisk, std::string>> sendFileEdited(const SimulatedDisk& killed) {
    const std::string bytes = killed.bytesOf(send).value_or("");
    if (!bytes.ends_with("\r\n"))
        return {};
    const std::string withoutLineEnd = bytes.substr(0, bytes.size() - 2);
    std::vector<std::pair<SimulatedDisk, std::string>> edited;
    for (const std::string& kept : {withoutLineEnd, withoutLineEnd.substr(0, withoutLineEnd.rfind("\r\n") + 2)}) {
        edited.emplace_back(killed, kept);
        edited.back().first.editedByStudent(send, kept);
    }
    return edited;
}

} // namespace

TEST(PowerLoss, EveryAcknowledgedBlockSurvivesAPowerCutAfterAnyCall) {
    const std::size_t samples = samplesWanted();
    const PowerCutMode modes[] = {PowerCutMode::unflushedLost,  PowerCutMode::somePagesKept,
                                  PowerCutMode::grownWithZeros, PowerCutMode::grownWithGarbage,
                                  PowerCutMode::entriesLost,    PowerCutMode::killed};
    std::size_t crashPoints = 0, restarts = 0, violationCount = 0;
    auto report = [&](const std::vector<std::string>& violations, const std::string& where) {
        ++restarts;
        for (const std::string& violation : violations)
            if (++violationCount <= 20)
                ADD_FAILURE() << where << ": " << violation;
    };
    for (std::size_t s = 0; s < scenarios.size(); ++s) {
        const Scenario& scenario = scenarios[s];
        SimulatedDisk uncut = homeFolder();
        Ledger uncutLedger;
        scenario.before(uncut, uncutLedger);
        const std::size_t setUp = uncut.changes();
        scenario.during(uncut, uncutLedger);
        const std::size_t calls = uncut.changes() - setUp;
        for (std::size_t cut = 0; cut <= calls; ++cut, ++crashPoints) {
            SimulatedDisk disk = homeFolder();
            Ledger ledger;
            scenario.before(disk, ledger);
            disk.settle();
            disk.cutPowerAfter(cut);
            scenario.during(disk, ledger);
            for (const PowerCutMode mode : modes) {
                const auto subsets = mode == PowerCutMode::somePagesKept
                                         ? subsetsToTry(disk.unflushedChoices(), samples, unsigned(s * 10007 + cut))
                                         : std::vector<std::vector<bool>>{{}};
                const std::string where = std::string(scenario.name) + ", power cut after call " + std::to_string(cut) +
                                          " of " + std::to_string(calls) + ", mode " +
                                          std::to_string(static_cast<int>(mode));
                for (const std::vector<bool>& kept : subsets) {
                    SimulatedDisk restarted = disk;
                    restarted.restart(mode, kept);
                    report(violationsAfterRestart(restarted, ledger), where);
                }
                if (mode != PowerCutMode::killed)
                    continue;
                // Killed, and the SEND file edited before the next start.
                SimulatedDisk killed = disk;
                killed.restart(mode);
                for (const auto& [restarted, kept] : sendFileEdited(killed))
                    report(violationsAfterRestart(restarted, ledger, kept), where + ", the SEND file edited");
            }
        }
    }
    std::cout << crashPoints << " crash points x " << std::size(modes) << " modes tried (" << restarts << " restarts), "
              << violationCount << " violations\n";
    EXPECT_EQ(violationCount, 0u);
}
