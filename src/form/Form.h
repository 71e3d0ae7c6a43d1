#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvrast::form {

// The one window, "Form1", as a table: every control's name, kind, caption, place and tab index. The Qt window and
// the Win32 window are both built from it, and the tests on both systems check against it.

// Twips: 1/1440 inch, 15 to a pixel at 96 dots per inch. Places are measured from the client area's top left.
inline constexpr int twipsPerPixelAt96Dpi = 15;

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

enum class Kind { commandButton, timer, textBox, listBox, optionButton, pictureBox, label };

// The font a control shows its text in.
enum class Font {
    dialog,       // the platform's default dialog font
    arial9Point75 // Arial 9.75 points, normal weight, Western character set: the two large boxes
};

// What a command button does when it is clicked: the logic runs it. Every button runs a command of its own, and every
// command belongs to one button.
enum class Command {
    nextQuestion,
    enterResponse,
    saveAsNotes,
    clear,
    displayNotes,
    displaySendFile,
    quit,
    pendExp,
    triggerTimer,
    makeParagraph,
};
inline constexpr std::size_t commandCount = static_cast<std::size_t>(Command::makeParagraph) + 1;

struct Control {
    std::string_view name = {};    // the name in the program, shared by the members of an indexed group
    std::optional<int> index = {}; // the member's index in an indexed group (txt_parameter, lbl_parameter)
    Kind kind = Kind::label;
    std::u16string_view caption = {}; // caption, or the text a text box starts with
    TwipsRect place = {};             // unused for the timer, which has no place at run time
    int tabIndex = -1;                // unused for the timer
    bool multiLine = false;           // text boxes: word wrap, a vertical scroll bar, Enter starts a new line
    Font font = Font::dialog;
    std::u16string_view accessibleName = {}; // what a screen reader calls it, where it has no caption to read
    bool narrow = false;                     // far narrower than its caption: the whole caption shows as a tooltip
    std::optional<Command> command = {};     // command buttons: what a click runs

    // The name a toolkit knows the control by: the name, with "_index" for a member of an indexed group.
    std::string objectName() const;
    // What a screen reader announces: the caption, or the accessible name where one is given.
    std::u16string_view spokenName() const;
    // Every control but the labels and the timer takes the focus.
    bool isTabStop() const { return kind != Kind::label && kind != Kind::timer; }
};

// The window's own object name, which it has always shared with the "pend exp" button.
inline constexpr std::string_view windowObjectName = "cmd_pend_exp";
inline constexpr std::u16string_view windowTitle = u"Form1";
inline constexpr int clientWidthTwips = 10875;
inline constexpr int clientHeightTwips = 8595;
inline constexpr int pendulumTimerMilliseconds = 15;
// Both picture boxes are white behind what is drawn on them.
inline constexpr unsigned pictureBoxRgb = 0xFFFFFF;

// In the order the controls are created: of two that overlap, the later lies on top. A control's place in this
// table is its row, by which the windows tell the logic which control was clicked.
std::span<const Control> controls();

// The control with this object name; throws std::out_of_range for a name the form does not have.
const Control& control(std::string_view objectName);

// A control that the program itself addresses, by its row in the table. The handles below are the only ones: a
// misspelt handle does not compile, and the build checks that each names a control of the table.
struct ControlHandle {
    std::size_t row;
};
extern const ControlHandle questionBox;   // txt_question
extern const ControlHandle answerBox;     // txt_answer
extern const ControlHandle picture1;      // Picture1
extern const ControlHandle picture2;      // Picture2
extern const ControlHandle pendulumTimer; // tmr_pend_exp

const Control& control(ControlHandle handle);

// The controls that take the focus, in the order Tab moves it.
std::vector<const Control*> tabOrder();

// Whether every command button of a table runs a command, no other control runs one, and every command belongs to
// exactly one button.
constexpr bool everyButtonRunsACommandOfItsOwn(std::span<const Control> table) {
    std::size_t buttons[commandCount] = {};
    for (const Control& each : table) {
        if ((each.kind == Kind::commandButton) != each.command.has_value())
            return false;
        if (each.command)
            ++buttons[static_cast<std::size_t>(*each.command)];
    }
    for (std::size_t count : buttons)
        if (count != 1)
            return false;
    return true;
}

// A place in pixels at 96 dots per inch. Every place of the form is a whole number of pixels there.
TwipsRect pixelsAt96Dpi(const TwipsRect& twips);

} // namespace kelvrast::form
