#include "frontend/web/Page.h"
#include "frontend/web/WebFrontEnd.h"
#include "program/RunProgram.h"
#include "text/MessageText.h"

#include <exception>

namespace {

int run(kelvrast::WebFrontEnd& frontEnd) {
    try {
        return kelvrast::runProgram(frontEnd);
    } catch (...) {
        frontEnd.dialogs().message(kelvrast::programStoppedText(std::current_exception()));
        return 1;
    }
}

} // namespace

// The browser's program, in the page's worker: the same life as on the desktop. An exception that escapes the
// program's own guards ends it with a message, as the desktop programs do. However it ends, also when it could not
// start, the page says so and keeps offering the student's files.
int main() {
    kelvrast::WebFrontEnd frontEnd;
    const int status = run(frontEnd);
    kelvrast_page_program_ended(status);
    return status;
}
