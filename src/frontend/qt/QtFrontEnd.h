#pragma once

#include "frontend/qt/QtBeep.h"
#include "frontend/qt/QtDialogs.h"
#include "frontend/qt/QtProgramEnd.h"
#include "program/FrontEnd.h"

namespace kelvrast {

// The Linux program's window system: Qt's dialogs, beep and program end, and the Qt window.
class QtFrontEnd : public FrontEnd {
public:
    Dialogs& dialogs() override { return dialogs_; }
    ProgramEnd& programEnd() override { return programEnd_; }
    Beep& beep() override { return beep_; }
    std::optional<int> exitStatus() const override { return programEnd_.exitStatus(); }

    std::unique_ptr<ProgramWindow> makeWindow(Platform machine, std::filesystem::path workingFolder) override;

private:
    QtDialogs dialogs_{nullptr};
    QtProgramEnd programEnd_;
    QtBeep beep_;
};

} // namespace kelvrast
