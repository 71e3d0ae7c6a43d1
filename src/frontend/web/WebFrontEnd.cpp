#include "frontend/web/WebFrontEnd.h"

#include "frontend/web/WebWindow.h"

namespace kelvrast {

std::unique_ptr<ProgramWindow> WebFrontEnd::makeWindow(Platform machine, std::filesystem::path workingFolder) {
    return std::make_unique<WebWindow>(machine, std::move(workingFolder), programEnd_);
}

} // namespace kelvrast
