#pragma once

#include "platform/Beep.h"

namespace kelvrast::testing {

// Counts the beeps instead of sounding them.
class FakeBeep : public Beep {
public:
    int beeps = 0;

    void beep() override { ++beeps; }
};

} // namespace kelvrast::testing
