#pragma once

#include "form/Form.h"

#include <optional>

namespace kelvrast::form {

// How the form's twips and the picture boxes' user scale become pixels, the same in every window.

// Twips at dpi dots per inch, rounded to the nearest pixel, halves away from zero.
int twipsToPixels(int twips, int dpi);

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const PixelRect&) const = default;
};

// A place at dpi, by its edges, so that controls that touch at 96 dpi still touch at any other.
PixelRect placeAt(const TwipsRect& place, int dpi);

struct PixelCircle {
    double centreX = 0;
    double centreY = 0;
    double radius = 0;
};

// A circle given in a picture box's user scale (scaleWidth by scaleHeight units over the box), in pixels of a
// drawing surface of surfaceWidth by surfaceHeight from its top left. The radius is measured along the width, as
// in the user scale. Nothing while the scale is unset, and for a circle too far outside the box to draw (a
// window system takes no coordinate beyond about 2^27 pixels).
std::optional<PixelCircle> circleInPixels(float x, float y, float radius, float scaleWidth, float scaleHeight,
                                          double surfaceWidth, double surfaceHeight);

} // namespace kelvrast::form
