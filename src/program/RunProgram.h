#pragma once

#include "program/FrontEnd.h"

namespace kelvrast {

// The program's life, the same under every window system: the machine's services, the name prompt and start-up, the
// window, its events until the program ends. Returns the program's exit status.
int runProgram(FrontEnd& frontEnd);

} // namespace kelvrast
