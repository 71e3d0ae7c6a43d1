#pragma once

#include "flow/MainWindowLogic.h"

namespace kelvrast::testing {

// A run's state, for a test to set up what a student could reach only through many steps.
struct LogicState {
    static MainWindowState& of(MainWindowLogic& logic) { return logic.state_; }
};

} // namespace kelvrast::testing
