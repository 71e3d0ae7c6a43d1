#include "support/RandomStudent.h"

#include "form/Form.h"

#include <array>
#include <sstream>

namespace kelvrast::testing {
namespace {

template <typename T> struct Weighted {
    int weight;
    T value;
};

// Mostly what a student does to get on (the buttons, typing, keys); now and then the program ends in any of its
// three ways or is killed, often enough for many starts in one run and seldom enough to reach the end of the bank.
constexpr std::array<Weighted<Action::Kind>, 6> actionKinds{{
    {400, Action::Kind::click},
    {260, Action::Kind::type},
    {270, Action::Kind::key},
    {55, Action::Kind::paste},
    {2, Action::Kind::closeFrame},
    {3, Action::Kind::kill},
}};

// The buttons that move the assignment on come up most; quitting seldom.
constexpr std::array<Weighted<form::Command>, 10> commands{{
    {60, form::Command::nextQuestion},
    {40, form::Command::enterResponse},
    {16, form::Command::saveAsNotes},
    {6, form::Command::clear},
    {6, form::Command::displayNotes},
    {3, form::Command::displaySendFile},
    {1, form::Command::quit},
    {2, form::Command::pendExp},
    {2, form::Command::triggerTimer},
    {2, form::Command::makeParagraph},
}};

constexpr std::array<Key, 15> keys{Key::escape, Key::enter, Key::f1,     Key::f10,   Key::altAlone,
                                   Key::ctrlW,  Key::ctrlQ, Key::ctrlF4, Key::tab,   Key::shiftTab,
                                   Key::ctrlA,  Key::ctrlC, Key::ctrlV,  Key::ctrlX, Key::ctrlZ};

constexpr std::array<const char*, 15> keyNames{"Escape", "Return", "F1",      "F10",    "Alt",
                                               "Ctrl+W", "Ctrl+Q", "Ctrl+F4", "Tab",    "Shift+Tab",
                                               "Ctrl+A", "Ctrl+C", "Ctrl+V",  "Ctrl+X", "Ctrl+Z"};

enum class TextKind { ascii, accented, outsideCodePage, longLine, lines, fixedLines };

constexpr std::array<Weighted<TextKind>, 6> textKinds{{
    {50, TextKind::ascii},
    {15, TextKind::accented},
    {12, TextKind::outsideCodePage},
    {3, TextKind::longLine},
    {15, TextKind::lines},
    {5, TextKind::fixedLines},
}};

constexpr std::u16string_view asciiLetters =
    u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:!?'\"-()&";
// All in Windows-1252.
constexpr std::u16string_view accentedLetters = u"\u00e9\u00e8\u00ea\u00eb\u00e0\u00e2\u00e4\u00e7\u00f1\u00f6\u00fc"
                                                u"\u00df\u00c9\u00c0\u00c7\u00d1\u00d6\u00dc\u20ac\u0153\u0160\u017e";
// None in Windows-1252; each a whole character, the last a surrogate pair.
const std::array<std::u16string_view, 8> outsideCodePage{u"\u03b1", u"\u03b2", u"\u0416", u"\u0429",
                                                         u"\u6f22", u"\u0100", u"\u2192", u"\U0001F600"};
// A text holding the lines that open and close a record, as a copy of the SEND file pasted back would.
constexpr std::u16string_view fixedLines = u"......!!!!!!!!...................................\n"
                                           u"RESPONSE -->  \n"
                                           u".................................................";

const std::array<Weighted<std::u16string_view>, 4> namesTyped{{
    {16, RandomStudent::usualName},
    {3, u"Zo\u00eb Bront\u00eb"},
    {1, u""},
    {1, u"Ann/Lee"}, // no system allows "/" in a file name: asked again
}};

template <typename T, std::size_t n> const T& pick(std::mt19937_64& random, const std::array<Weighted<T>, n>& table) {
    int total = 0;
    for (const auto& each : table)
        total += each.weight;
    int drawn = static_cast<int>(random() % static_cast<std::uint64_t>(total));
    for (const auto& each : table) {
        if (drawn < each.weight)
            return each.value;
        drawn -= each.weight;
    }
    return table.back().value;
}

std::string shortened(const std::u16string& text) {
    std::string shown;
    for (char16_t c : text.substr(0, 40))
        shown += c == u'\n' ? std::string("\\n") : c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string("~");
    if (text.size() > 40)
        shown += "... (" + std::to_string(text.size()) + " units)";
    return shown;
}

} // namespace

std::size_t RandomStudent::below(std::size_t bound) {
    return static_cast<std::size_t>(random_() % bound);
}

bool RandomStudent::chance(double probability) {
    return static_cast<double>(random_() >> 11) * 0x1.0p-53 < probability;
}

// A command button most of the time, by its weight; otherwise any control that has a place on the form.
std::size_t RandomStudent::row() {
    const auto table = form::controls();
    if (chance(0.8)) {
        const form::Command command = pick(random_, commands);
        for (std::size_t each = 0; each < table.size(); ++each)
            if (table[each].command == command)
                return each;
    }
    for (;;)
        if (const std::size_t each = below(table.size()); table[each].kind != form::Kind::timer)
            return each;
}

std::u16string RandomStudent::text() {
    auto from = [&](std::u16string_view letters, std::size_t count) {
        std::u16string made;
        for (std::size_t i = 0; i < count; ++i)
            made += letters[below(letters.size())];
        return made;
    };
    switch (pick(random_, textKinds)) {
    case TextKind::ascii:
        return from(asciiLetters, 1 + below(24));
    case TextKind::accented:
        return from(asciiLetters, below(6)) + from(accentedLetters, 1 + below(6));
    case TextKind::outsideCodePage:
        return from(asciiLetters, below(6)) + std::u16string(outsideCodePage[below(outsideCodePage.size())]);
    case TextKind::longLine:
        return from(asciiLetters, 1000 + below(5000));
    case TextKind::lines: {
        std::u16string made = from(asciiLetters, below(20));
        for (std::size_t count = 1 + below(4); count > 0; --count)
            made += u'\n' + from(asciiLetters, below(20));
        return made;
    }
    case TextKind::fixedLines:
        return std::u16string(fixedLines);
    }
    return {};
}

Action RandomStudent::nextAction() {
    Action action;
    action.kind = pick(random_, actionKinds);
    switch (action.kind) {
    case Action::Kind::click:
        action.row = row();
        break;
    case Action::Kind::type:
        action.text = text();
        break;
    case Action::Kind::key:
        action.key = keys[below(keys.size())];
        break;
    case Action::Kind::paste:
        action.text = chance(0.85) ? text() : std::u16string();
        break;
    case Action::Kind::closeFrame:
    case Action::Kind::kill:
        break;
    }
    return action;
}

// Mostly the usual name and OK; now and then another name, a name the program refuses, nothing, Cancel or the close
// box. A message's OK or close box; either answer of a question, or its close box.
DialogAnswer RandomStudent::answer(DialogKind kind) {
    DialogAnswer given;
    const std::size_t drawn = below(20);
    switch (kind) {
    case DialogKind::input:
        given.typed = std::u16string(pick(random_, namesTyped));
        given.button = drawn < 18 ? 0 : drawn == 18 ? 1 : DialogAnswer::closeBox;
        break;
    case DialogKind::message:
        given.button = drawn < 17 ? 0 : DialogAnswer::closeBox;
        break;
    case DialogKind::choice:
        given.button = drawn < 9 ? 0 : drawn < 17 ? 1 : DialogAnswer::closeBox;
        break;
    }
    return given;
}

std::string describe(const Action& action) {
    switch (action.kind) {
    case Action::Kind::click:
        return "click " + form::controls()[action.row].objectName();
    case Action::Kind::type:
        return "type \"" + shortened(action.text) + "\"";
    case Action::Kind::key:
        return std::string("key ") + keyNames[static_cast<std::size_t>(action.key)];
    case Action::Kind::paste:
        return action.text.empty() ? "paste from a clipboard left empty" : "paste \"" + shortened(action.text) + "\"";
    case Action::Kind::closeFrame:
        return "close the frame";
    case Action::Kind::kill:
        return "kill and start again";
    }
    return "?";
}

std::string describe(DialogKind kind, const DialogAnswer& answer) {
    std::ostringstream out;
    out << "  answers the "
        << (kind == DialogKind::input     ? "input dialog"
            : kind == DialogKind::message ? "message"
                                          : "question")
        << " with "
        << (answer.button == DialogAnswer::closeBox ? std::string("its close box")
                                                    : "button " + std::to_string(answer.button));
    if (kind == DialogKind::input)
        out << ", typed \"" << shortened(answer.typed) << "\"";
    return out.str();
}

} // namespace kelvrast::testing
