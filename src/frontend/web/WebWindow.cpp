#include "frontend/web/WebWindow.h"

#include "form/CaptionFit.h"
#include "form/Form.h"
#include "frontend/web/Page.h"

#include <string>

namespace kelvrast {
namespace {

// What the page makes for a control of this kind (kelvrast.js).
const char* kindName(form::Kind kind) {
    switch (kind) {
    case form::Kind::commandButton:
        return "commandButton";
    case form::Kind::timer:
        return "timer";
    case form::Kind::textBox:
        return "textBox";
    case form::Kind::listBox:
        return "listBox";
    case form::Kind::optionButton:
        return "optionButton";
    case form::Kind::pictureBox:
        return "pictureBox";
    case form::Kind::label:
        return "label";
    }
    return "label";
}

// Every row of the table to the page, which builds the form from it while the name prompt is up.
void sendForm() {
    kelvrast_page_form_size(form::clientWidthTwips / form::twipsPerPixelAt96Dpi,
                            form::clientHeightTwips / form::twipsPerPixelAt96Dpi, WebPictureBox::borderPixels);
    const auto table = form::controls();
    for (std::size_t row = 0; row < table.size(); ++row) {
        const form::Control& control = table[row];
        const form::TwipsRect place = form::pixelsAt96Dpi(control.place);
        const std::u16string caption(control.caption), spokenName(control.spokenName());
        kelvrast_page_add_control(static_cast<int>(row), control.objectName().c_str(), kindName(control.kind),
                                  caption.c_str(), place.left, place.top, place.width, place.height, control.tabIndex,
                                  control.multiLine ? 1 : 0, control.font == form::Font::arial9Point75 ? 1 : 0,
                                  spokenName.c_str(), control.narrow ? 1 : 0, form::shrinksToFit(control) ? 1 : 0);
    }
}

std::u16string pagePath(const std::filesystem::path& path) {
    return path.generic_u16string();
}

} // namespace

WebWindow::WebWindow(Platform machine, std::filesystem::path workingFolder, const WebProgramEnd& programEnd)
    : programEnd_(programEnd), picture1_(form::picture1.row), picture2_(form::picture2.row),
      pendulumTimer_(pendulumTimerId, form::pendulumTimerMilliseconds),
      draftTimer_(draftTimerId, MainWindowLogic::draftTimerMilliseconds()) {
    sendForm();
    logic_ = std::make_unique<MainWindowLogic>(machine.with(WindowServices{.boxes = boxes_,
                                                                           .picture1 = picture1_,
                                                                           .picture2 = picture2_,
                                                                           .pendulumTimer = pendulumTimer_,
                                                                           .draftTimer = draftTimer_}),
                                               std::move(workingFolder));
}

Status WebWindow::load() {
    Status started = logic_->load();
    if (started.ok()) {
        const MainWindowState& state = logic_->state();
        kelvrast_page_student_files(pagePath(state.sendFilePath).c_str(), pagePath(state.notesFilePath).c_str(),
                                    pagePath(state.masterFilePath).c_str());
    }
    return started;
}

void WebWindow::show() {
    kelvrast_page_show_form();
}

int WebWindow::runEventLoop() {
    while (!programEnd_.exitStatus()) {
        const auto event = static_cast<page::Event>(kelvrast_page_next_event());
        handle(event, static_cast<std::size_t>(kelvrast_page_event_row()));
        kelvrast_page_event_handled();
    }
    return *programEnd_.exitStatus();
}

void WebWindow::handle(page::Event event, std::size_t row) {
    switch (event) {
    case page::Event::click:
        logic_->controlClicked(row);
        break;
    case page::Event::changed:
        if (boxes_.changedOnPage(row, page::takeText()))
            logic_->controlChanged(row);
        break;
    case page::Event::tick:
        (row == pendulumTimerId ? pendulumTimer_ : draftTimer_).tick();
        break;
    case page::Event::hidden:
        // A closed tab ends the program with the worker, a hidden one may be ended by the browser unseen: what is
        // typed goes to the draft now. The program itself goes on, for a tab that comes back.
        logic_->keepDraftNow();
        break;
    }
}

} // namespace kelvrast
