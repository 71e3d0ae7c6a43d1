#pragma once

#include "support/RandomStudent.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvrast::testing {

// The answer files of one start, as the name given at that start makes them.
struct StudentFiles {
    std::filesystem::path master, send, notes;
};

// What the random student needs of a window; the Qt window and the Win32 window each play it. Every start of the
// program uses the same working folder.
class StudentsWindow {
public:
    virtual ~StudentsWindow() = default;

    // A new program: the window made, start-up run (its dialogs answered through answerDialog), the window shown.
    virtual void start() = 0;
    // Every action but a kill, on the window as it is.
    virtual void act(const Action& action) = 0;
    // The window and its logic dropped with no orderly end: no close, no quit, nothing of the program's own ending;
    // also how an ended program goes. Only their destructors run, and they write nothing. What a real kill adds and
    // this cannot show: a kill in the middle of a command (the durability tests kill a recording process at random
    // moments), the loss of what the system had not yet written at a power cut, and a process's locks and handles
    // left to the system to release; every command here has closed its files before the next action anyway.
    virtual void abandon() = 0;
    // The program still runs: it has not ended and its window shows.
    virtual bool running() const = 0;
    virtual std::u16string questionText() const = 0;
    virtual std::u16string answerText() const = 0;
    virtual StudentFiles files() const = 0;
    // The name given at this start.
    virtual std::u16string studentName() const = 0;
    // The draft of what the boxes hold on the disk, as a second after the last change would have it.
    virtual void keepDraftNow() = 0;

    // Set by the run: the student's answer to a dialog that has opened and shows this text.
    std::function<DialogAnswer(DialogKind kind, std::u16string_view text)> answerDialog;
};

struct RandomRun {
    std::uint64_t seed;
    std::size_t actions;
};

// `count` seeds in a row from `first`.
std::vector<std::uint64_t> seedsFrom(std::uint64_t first, std::size_t count);

// The runs of a test: one of `actions` actions for each fixed seed, or, when KELVRAST_RANDOM_SEED and
// KELVRAST_RANDOM_ACTIONS are set, that one run alone.
std::vector<RandomRun> randomRuns(const std::vector<std::uint64_t>& fixedSeeds, std::size_t actions);

// What a run went through, so that a test can show that its student reached every part of the program.
struct RandomTally {
    std::size_t starts = 0;
    std::size_t recordings = 0; // acknowledged by the boxes' emptying
    std::size_t dialogs = 0;
    std::size_t endsOfBank = 0;
    std::size_t draftsBack = 0; // found in the boxes after a restart

    RandomTally& operator+=(const RandomTally& other);
};

struct RandomRunResult {
    std::optional<std::string> failure; // the seed, the action's index, the problem and the last actions
    RandomTally tally;
};

// Plays one run of the random student on a window over a fresh working folder and checks the program's promises
// as it goes, up to the first one broken.
RandomRunResult playRandomStudent(StudentsWindow& window, const RandomRun& run);

// The test of a window: every run of randomRuns() on a window of its own, up to the first failure. Several runs
// together must have reached every part of the program (a harness whose clicks went nowhere would pass otherwise).
void playRandomStudents(const std::function<std::unique_ptr<StudentsWindow>()>& makeWindow,
                        const std::vector<std::uint64_t>& fixedSeeds, std::size_t actions);

} // namespace kelvrast::testing
