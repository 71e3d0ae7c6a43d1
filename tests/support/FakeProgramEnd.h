#pragma once

#include "platform/ProgramEnd.h"

#include <optional>

namespace kelvrast::testing {

class FakeProgramEnd : public ProgramEnd {
public:
    std::optional<int> exitStatus;

    void endProgram(int status) override { exitStatus = status; }
};

} // namespace kelvrast::testing
