#pragma once

#include "frontend/qt/QtBeep.h"
#include "frontend/qt/QtDialogs.h"
#include "frontend/qt/QtProgramEnd.h"
#include "program/FrontEnd.h"

namespace kelvrast {

// The Linux program's window system: Qt's dialogs, beep and program end, and the Qt window.
class QtFrontEnd : public FrontEndWith<QtDialogs, QtProgramEnd, QtBeep> {
public:
    std::unique_ptr<ProgramWindow> makeWindow(Platform machine, std::filesystem::path workingFolder) override;
};

} // namespace kelvrast
