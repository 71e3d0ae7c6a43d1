// A power cut after any one call of this system's file layer, and each state a disk may have kept then (see
// support/SimulatedDiskModel.h and the system's adapter below it), followed by the program's own start-up on that
// state: every block the student was told is in stays whole, in its place; no file holds part of a block; the
// resume scan reads the master file. The same table runs on Linux over PosixFiles and on Windows over Win32Files.
//
// Each crash point restarts once in every mode but somePagesKept, which tries every subset of the unflushed pages
// and sizes when there are at most 32 and a fixed, seeded sample of 32 otherwise. KELVRAST_POWER_CUT_SAMPLES=N
// raises that to N (for instance 4096) for a longer run.
#include "flow/AnswerRecords.h"
#include "flow/MainWindowState.h"
#include "flow/Resume.h"
#include "platform/UnfinishedAppend.h"
#include "system/SystemFiles.h"
#ifdef _WIN32
#include "support/windows/SimulatedWin32Disk.h"
#else
#include "support/posix/SimulatedDisk.h"
#endif

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <set>

using namespace kelvrast;
using kelvrast::testing::PowerCutMode;

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

// Blocks of different lengths, so that they start and end at different places in their pages.
std::string answerText(int question) {
    std::string text;
    for (int line = 0; text.size() < 900u + 1300u * static_cast<unsigned>(question % 4); ++line)
        text += "question " + std::to_string(question) + ", line " + std::to_string(line) + " of the answer\r\n";
    return text;
}

std::vector<PendingBlock> enterResponse(int question) {
    const std::string entry = "`q" + std::to_string(100 + question).substr(1) + " The question";
    return {{master, records::answerBlock({"14:05:09", 10000.0 + question, entry, answerText(question)})},
            {send, records::answerBlock({"14:05:10", std::nullopt, entry, answerText(question)})}};
}

std::vector<PendingBlock> startOfRun(const std::string& codeLine) {
    const std::string header = records::assignmentHeader(codeLine, "assignment #001", "the last line", "Pendulum");
    return {{master, header}, {send, header}};
}

std::vector<PendingBlock> saveAsNotes(int note) {
    const std::string block = records::notesBlock(
        {"14:06:00", "12-09-2026", "14:06:01", "`q003 The question", "NOTES -------> " + answerText(note)});
    return {{master, block}, {send, block}, {notes, block}};
}

// What a run tried to record and what it was told went in.
struct Ledger {
    std::map<std::filesystem::path, std::vector<std::string>> tried, acknowledged;

    void record(Files& files, const std::vector<PendingBlock>& blocks) {
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

// The first start: the folder and both files made, the header recorded.
void firstStart(SimulatedDisk& disk, Ledger& ledger) {
    SystemFiles files(disk);
    if (files.createFolder(folder).ok() && files.touch(send).ok() && files.touch(master).ok())
        ledger.record(files, startOfRun("first code line"));
}

// A start whose files are already there.
void laterStart(SimulatedDisk& disk, Ledger& ledger) {
    SystemFiles files(disk);
    if (files.touch(send).ok() && files.touch(master).ok())
        ledger.record(files, startOfRun("later code line"));
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

// A master file that an append cut by a power cut left with part of its block and zeros, and its live note.
void torn(SimulatedDisk& disk, Ledger& ledger) {
    firstStart(disk, ledger);
    answers(disk, ledger);
    const std::string block = enterResponse(3).front().bytes;
    ledger.tried[master].push_back(block);
    const std::string before = disk.bytesOf(master).value();
    // The block's first page reached the disk, its second did not, and the size went only partway past it.
    const std::size_t firstPage = SimulatedDisk::pageSize - before.size() % SimulatedDisk::pageSize;
    const std::string tail = block.substr(0, firstPage) + std::string((block.size() - firstPage) / 2, '\0');
    SystemFiles files(disk);
    EXPECT_TRUE(
        files.writeFile(unfinished::notePath(master), unfinished::noteHead(before.size(), block.size()) + block).ok());
    EXPECT_TRUE(files.writeFile(master, before + tail).ok());
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
    {"a start that repairs", torn, laterStart},
    {"two copies at once", [](SimulatedDisk& disk, Ledger& ledger) { firstStart(disk, ledger), answers(disk, ledger); },
     twoCopies},
};

SimulatedDisk homeFolder() {
    SimulatedDisk disk;
    for (const std::filesystem::path& made : homeFolders)
        disk.makeDurableFolder(made);
    return disk;
}

// The blocks the file holds, in order, each one the run tried; nothing when some bytes are no whole block of it.
std::optional<std::vector<std::string>> wholeBlocks(std::string_view bytes, const std::vector<std::string>& known) {
    std::vector<std::string> found;
    while (!bytes.empty()) {
        const auto block =
            std::find_if(known.begin(), known.end(), [&](const std::string& b) { return bytes.starts_with(b); });
        if (block == known.end())
            return std::nullopt;
        found.push_back(*block);
        bytes.remove_prefix(block->size());
    }
    return found;
}

// Start-up on the disk as the power cut left it, then one more record; what breaks a promise, in words.
std::vector<std::string> violationsAfterRestart(SimulatedDisk disk, Ledger ledger) {
    std::vector<std::string> violations;
    SystemFiles files(disk);
    static_cast<void>(files.createFolder(folder)); // made when missing, as start-up does
    ledger.tried[master], ledger.tried[send];      // start-up opens both, whatever the run before reached
    for (const auto& [file, blocks] : ledger.tried)
        if (!files.touch(file).ok())
            violations.push_back("the start could not open " + file.filename().string());
    auto state = std::make_unique<MainWindowState>();
    if (!scanMasterFile(files, master, *state, "").ok())
        violations.push_back("the resume scan could not read the master file");
    for (const std::string& block : ledger.acknowledged[master])
        for (int question = 1; question <= 6; ++question)
            if (block == enterResponse(question).front().bytes && state->progressTable[1][question] != question)
                violations.push_back("the resume scan misses question " + std::to_string(question));
    ledger.record(files, startOfRun("after the restart"));
    if (ledger.acknowledged[master].empty() ||
        ledger.acknowledged[master].back() != startOfRun("after the restart")[0].bytes)
        violations.push_back("the first record after the restart failed");
    for (const auto& [file, tried] : ledger.tried) {
        const std::optional<std::vector<std::string>> blocks = wholeBlocks(disk.bytesOf(file).value_or(""), tried);
        if (!blocks) {
            violations.push_back(file.filename().string() + " holds part of a block");
            continue;
        }
        // Appends to one file go in one at a time, in the order they were tried.
        const std::vector<std::string>& told = ledger.acknowledged[file];
        auto acknowledged = [&](const std::string& block) {
            return std::find(told.begin(), told.end(), block) != told.end();
        };
        std::vector<std::string> kept, expected;
        std::copy_if(blocks->begin(), blocks->end(), std::back_inserter(kept), acknowledged);
        std::copy_if(tried.begin(), tried.end(), std::back_inserter(expected), acknowledged);
        if (kept != expected)
            violations.push_back(file.filename().string() + " lost or moved an acknowledged block");
    }
    return violations;
}

// The unflushed pages and sizes kept, for each restart in somePagesKept mode.
std::vector<std::vector<bool>> subsetsToTry(std::size_t choices, std::size_t samples, unsigned seed) {
    std::vector<std::vector<bool>> subsets;
    if (choices < 32 && (std::size_t{1} << choices) <= samples) {
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
    return wanted ? std::max<std::size_t>(1, std::strtoul(wanted, nullptr, 10)) : 32;
}

} // namespace

TEST(PowerLoss, EveryAcknowledgedBlockSurvivesAPowerCutAfterAnyCall) {
    const std::size_t samples = samplesWanted();
    const PowerCutMode modes[] = {PowerCutMode::unflushedLost, PowerCutMode::somePagesKept,
                                  PowerCutMode::grownWithZeros, PowerCutMode::entriesLost};
    std::size_t crashPoints = 0, restarts = 0, violationCount = 0;
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
                for (const std::vector<bool>& kept : subsets) {
                    ++restarts;
                    SimulatedDisk restarted = disk;
                    restarted.restart(mode, kept);
                    for (const std::string& violation : violationsAfterRestart(restarted, ledger))
                        if (++violationCount <= 20)
                            ADD_FAILURE() << scenario.name << ", power cut after call " << cut << " of " << calls
                                          << ", mode " << static_cast<int>(mode) << ": " << violation;
                }
            }
        }
    }
    std::cout << crashPoints << " crash points x " << std::size(modes) << " modes tried (" << restarts << " restarts), "
              << violationCount << " violations\n";
    EXPECT_EQ(violationCount, 0u);
}
