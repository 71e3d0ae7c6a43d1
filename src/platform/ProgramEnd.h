#pragma once

namespace kelvrast {

// Ends the program: no further event is handled once this returns.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;

    virtual void endProgram(int exitStatus) = 0;
};

} // namespace kelvrast
