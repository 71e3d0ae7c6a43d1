#pragma once

#include "flow/MainWindowLogic.h"
#include "frontend/web/WebPictureBox.h"
#include "frontend/web/WebServices.h"
#include "frontend/web/WebTextBoxes.h"
#include "frontend/web/WebTimer.h"
#include "program/FrontEnd.h"

#include <memory>

namespace kelvrast {

// "Form1" in the page: the page builds a control for every row of the form's table, and hands back its events,
// which this handles one at a time, each to its end, as the desktop windows do.
class WebWindow : public ProgramWindow {
public:
    WebWindow(Platform machine, std::filesystem::path workingFolder, const WebProgramEnd& programEnd);

    Status load() override;
    void show() override;
    int runEventLoop() override;

private:
    enum TimerId { pendulumTimerId = 0, draftTimerId = 1 };

    void handle(page::Event event, std::size_t row);

    const WebProgramEnd& programEnd_;
    WebTextBoxes boxes_;
    WebPictureBox picture1_;
    WebPictureBox picture2_;
    WebTimer pendulumTimer_;
    WebTimer draftTimer_;
    std::unique_ptr<MainWindowLogic> logic_;
};

} // namespace kelvrast
