#pragma once

#include "platform/ProgramEnd.h"

#include <optional>

namespace kelvrast {

// Ends the program through Qt's event loop. The status is kept, so that main() can return it when the program
// ends before the event loop has started.
class QtProgramEnd : public ProgramEnd {
public:
    void endProgram(int exitStatus) override;

    // The status the program ended with, once it has ended.
    std::optional<int> exitStatus() const { return exitStatus_; }

private:
    std::optional<int> exitStatus_;
};

} // namespace kelvrast
