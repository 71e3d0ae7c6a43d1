#include "frontend/web/WebFrontEnd.h"
#include "program/RunProgram.h"
#include "text/MessageText.h"

#include <exception>

// The browser's program, in the page's worker: the same life as on the desktop. An exception that escapes the
// program's own guards ends it with a message, as the desktop programs do.
int main() {
    kelvrast::WebFrontEnd frontEnd;
    try {
        return kelvrast::runProgram(frontEnd);
    } catch (...) {
        frontEnd.dialogs().message(kelvrast::programStoppedText(std::current_exception()));
        kelvrast_page_program_ended(1);
        return 1;
    }
}
