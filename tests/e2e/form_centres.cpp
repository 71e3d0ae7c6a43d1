// Prints, for every control of the form that has a place, the centre of its client rectangle in pixels at 96 dots
// per inch, as a line "name x y". The end-to-end tests click and type at these points. With --places it prints each
// control's whole rectangle instead, as "name left top width height", for the tests that look at what a control
// shows.
#include "form/Form.h"

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    using namespace kelvrast::form;
    const bool places = argc == 2 && std::strcmp(argv[1], "--places") == 0;
    if (argc > 2 || (argc == 2 && !places)) {
        std::fprintf(stderr, "usage: form_centres [--places]\n");
        return 2;
    }
    for (const Control& each : controls()) {
        if (each.kind == Kind::timer)
            continue;
        if (places) {
            const TwipsRect shown = pixelsAt96Dpi(each.place);
            std::printf("%s %d %d %d %d\n", each.objectName().c_str(), shown.left, shown.top, shown.width,
                        shown.height);
            continue;
        }
        const TwipsRect centre =
            pixelsAt96Dpi({each.place.left + each.place.width / 2, each.place.top + each.place.height / 2, 0, 0});
        std::printf("%s %d %d\n", each.objectName().c_str(), centre.left, centre.top);
    }
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
