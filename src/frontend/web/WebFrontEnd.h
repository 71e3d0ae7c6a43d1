#pragma once

#include "frontend/web/WebDialogs.h"
#include "frontend/web/WebServices.h"
#include "program/FrontEnd.h"

namespace kelvrast {

// The browser's window system: the page's dialogs, beep and program end, and the window the page shows.
class WebFrontEnd : public FrontEndWith<WebDialogs, WebProgramEnd, WebBeep> {
public:
    std::unique_ptr<ProgramWindow> makeWindow(Platform machine, std::filesystem::path workingFolder) override;
};

} // namespace kelvrast
