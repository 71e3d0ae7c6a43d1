#include "form/Form.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace kelvrast::form {

namespace {

constexpr Control button(std::string_view name, std::u16string_view caption, TwipsRect place, int tabIndex,
                         Command command) {
    return Control{.name = name,
                   .kind = Kind::commandButton,
                   .caption = caption,
                   .place = place,
                   .tabIndex = tabIndex,
                   .command = command};
}

constexpr Control narrowButton(std::string_view name, std::u16string_view caption, TwipsRect place, int tabIndex,
                               Command command) {
    Control made = button(name, caption, place, tabIndex, command);
    made.narrow = true;
    return made;
}

constexpr Control parameterBox(int index, std::u16string_view accessibleName, TwipsRect place, int tabIndex) {
    return Control{.name = "txt_parameter",
                   .index = index,
                   .kind = Kind::textBox,
                   .caption = u"1",
                   .place = place,
                   .tabIndex = tabIndex,
                   .accessibleName = accessibleName};
}

constexpr Control parameterLabel(int index, std::u16string_view caption, TwipsRect place, int tabIndex) {
    return Control{.name = "lbl_parameter",
                   .index = index,
                   .kind = Kind::label,
                   .caption = caption,
                   .place = place,
                   .tabIndex = tabIndex};
}

constexpr Control largeBox(std::string_view name, std::u16string_view accessibleName, TwipsRect place, int tabIndex) {
    return Control{.name = name,
                   .kind = Kind::textBox,
                   .place = place,
                   .tabIndex = tabIndex,
                   .multiLine = true,
                   .font = Font::arial9Point75,
                   .accessibleName = accessibleName};
}

constexpr Control other(std::string_view name, Kind kind, std::u16string_view caption,
                        std::u16string_view accessibleName, TwipsRect place, int tabIndex) {
    return Control{.name = name,
                   .kind = kind,
                   .caption = caption,
                   .place = place,
                   .tabIndex = tabIndex,
                   .accessibleName = accessibleName};
}

constexpr auto makeControls() {
    return std::to_array<Control>({
        button("cmd_clear", u"Clear", {7320, 240, 855, 495}, 24, Command::clear),
        Control{.name = "tmr_pend_exp", .kind = Kind::timer, .place = {}, .tabIndex = -1},
        button("cmd_pend_exp", u"pend exp", {8640, 7560, 495, 375}, 23, Command::pendExp),
        button("cmd_quit", u"quit program", {9720, 240, 735, 495}, 22, Command::quit),
        narrowButton("cmd_display_note_file", u"display notes", {2040, 240, 135, 495}, 21, Command::displayNotes),
        button("cmd_displayCumulativeText", u"display SEND file", {4440, 240, 855, 495}, 20, Command::displaySendFile),
        parameterBox(3, u"Parameter 4", {8205, 8160, 300, 285}, 19),
        parameterBox(2, u"Parameter 3", {8205, 7680, 300, 285}, 17),
        parameterBox(1, u"Parameter 2", {6720, 8160, 300, 285}, 15),
        parameterBox(0, u"Parameter 1", {6720, 7680, 300, 285}, 13),
        other("List1", Kind::listBox, u"", u"List", {3120, 7680, 1695, 840}, 11),
        button("cmd_timerTrigger", u"Trigger Timer", {2280, 7800, 735, 495}, 10, Command::triggerTimer),
        narrowButton("cmd_Make_Paragraph_question", u"Make Paragraph", {1920, 240, 135, 495}, 9,
                     Command::makeParagraph),
        button("cmd_save_as_notes", u"Save as Notes", {6480, 240, 855, 495}, 8, Command::saveAsNotes),
        other("op_stop_at_paragraphs", Kind::optionButton, u"Stop at Paragraphs", u"", {240, 8040, 1935, 255}, 7),
        other("opt_stop_at_periods", Kind::optionButton, u"Stop at Sentences", u"", {240, 7800, 1815, 195}, 6),
        other("Picture2", Kind::pictureBox, u"", u"Picture 2", {5640, 6000, 5055, 1455}, 5),
        other("Picture1", Kind::pictureBox, u"", u"Picture 1", {240, 6000, 5175, 1455}, 4),
        button("cmd_enter_response", u"Enter Response", {5640, 240, 855, 495}, 3, Command::enterResponse),
        button("cmdNextQuestion", u"Next Question / Answer", {240, 0, 975, 735}, 2, Command::nextQuestion),
        largeBox("txt_answer", u"Answer box", {5640, 720, 5055, 5055}, 1),
        largeBox("txt_question", u"Question box", {240, 720, 5175, 5055}, 0),
        parameterLabel(3, u"Parameter 4", {7200, 8160, 900, 195}, 18),
        parameterLabel(2, u"Parameter 3", {7200, 7680, 1005, 195}, 16),
        parameterLabel(1, u"Parameter 2", {5640, 8160, 855, 195}, 14),
        parameterLabel(0, u"Parameter 1", {5640, 7680, 900, 195}, 12),
    });
}

constexpr auto table = makeControls();

// A button that runs nothing, a command that no button runs, or two buttons for one command stop the build.
static_assert(everyButtonRunsACommandOfItsOwn(table), "every command button needs a command of its own");

// The row of the control of this name that is no member of an indexed group; past the table's end for none.
constexpr std::size_t rowNamed(std::string_view name) {
    for (std::size_t row = 0; row < table.size(); ++row)
        if (table[row].name == name && !table[row].index)
            return row;
    return table.size();
}

constexpr std::size_t questionBoxRow = rowNamed("txt_question");
constexpr std::size_t answerBoxRow = rowNamed("txt_answer");
constexpr std::size_t picture1Row = rowNamed("Picture1");
constexpr std::size_t picture2Row = rowNamed("Picture2");
constexpr std::size_t pendulumTimerRow = rowNamed("tmr_pend_exp");
static_assert(questionBoxRow < table.size() && answerBoxRow < table.size() && picture1Row < table.size() &&
                  picture2Row < table.size() && pendulumTimerRow < table.size(),
              "every handle names a control of the form");

} // namespace

const ControlHandle questionBox{questionBoxRow};
const ControlHandle answerBox{answerBoxRow};
const ControlHandle picture1{picture1Row};
const ControlHandle picture2{picture2Row};
const ControlHandle pendulumTimer{pendulumTimerRow};

const Control& control(ControlHandle handle) {
    return table[handle.row];
}

std::string Control::objectName() const {
    std::string made(name);
    if (index)
        made += "_" + std::to_string(*index);
    return made;
}

std::u16string_view Control::spokenName() const {
    return accessibleName.empty() ? caption : accessibleName;
}

std::span<const Control> controls() {
    return table;
}

const Control& control(std::string_view objectName) {
    for (const Control& each : controls())
        if (each.objectName() == objectName)
            return each;
    throw std::out_of_range("the form has no control named " + std::string(objectName));
}

std::vector<const Control*> tabOrder() {
    std::vector<const Control*> order;
    for (const Control& each : controls())
        if (each.isTabStop())
            order.push_back(&each);
    std::sort(order.begin(), order.end(), [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    return order;
}

TwipsRect pixelsAt96Dpi(const TwipsRect& twips) {
    return {twips.left / twipsPerPixelAt96Dpi, twips.top / twipsPerPixelAt96Dpi, twips.width / twipsPerPixelAt96Dpi,
            twips.height / twipsPerPixelAt96Dpi};
}

} // namespace kelvrast::form
