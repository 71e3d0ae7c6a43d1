#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace kelvrast::testing {

// The keys a careless student presses: those that must never end the program, the editing chords, and the focus
// keys.
enum class Key {
    escape,
    enter,
    f1,
    f10,
    altAlone,
    ctrlW,
    ctrlQ,
    ctrlF4,
    tab,
    shiftTab,
    ctrlA,
    ctrlC,
    ctrlV,
    ctrlX,
    ctrlZ
};

// One thing the student does to the window.
struct Action {
    enum class Kind {
        click,      // on the control in row `row` of the form's table
        type,       // `text` where the focus is
        key,        // `key` where the focus is
        paste,      // `text` put on the clipboard by another program (empty: one that left nothing), then Ctrl+V
        closeFrame, // the frame's close
        kill,       // the program killed; the next start goes on with the same files
    };
    Kind kind = Kind::click;
    std::size_t row = 0;
    std::u16string text;
    Key key = Key::escape;
};

enum class DialogKind { input, message, choice };

// How the student answers a dialog: one of its buttons, counted from the first as the dialog shows them, or its close
// box; in an input dialog, `typed` is typed first.
struct DialogAnswer {
    static constexpr int closeBox = -1;
    int button = 0;
    std::u16string typed;
};

// For a failure's report: the action in a line, long texts cut short.
std::string describe(const Action& action);
std::string describe(DialogKind kind, const DialogAnswer& answer);

// Draws a careless student's actions and dialog answers from one seed, so that a seed replays the same student.
class RandomStudent {
public:
    explicit RandomStudent(std::uint64_t seed) : random_(seed) {}

    Action nextAction();
    DialogAnswer answer(DialogKind kind);

    // The name the student gives on most starts.
    static constexpr std::u16string_view usualName = u"Ann Lee";

private:
    std::size_t below(std::size_t bound);
    bool chance(double probability);
    std::size_t row();
    std::u16string text();
    std::u16string name();

    std::mt19937_64 random_;
};

} // namespace kelvrast::testing
