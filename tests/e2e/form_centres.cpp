// Prints, for every control of the form that has a place, the centre of its client rectangle in pixels at 96 dots
// per inch, as a line "name x y". The end-to-end tests click and type at these points.
#include "form/Form.h"

#include <cstdio>

int main() {
    using namespace kelvrast::form;
    for (const Control& each : controls()) {
        if (each.kind == Kind::timer)
            continue;
        const TwipsRect centre =
            pixelsAt96Dpi({each.place.left + each.place.width / 2, each.place.top + each.place.height / 2, 0, 0});
        std::printf("%s %d %d\n", each.objectName().c_str(), centre.left, centre.top);
    }
    return 0;
}
