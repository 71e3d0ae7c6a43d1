#include "form/CaptionFit.h"

namespace kelvrast::form {

namespace {
constexpr int smallestPoints = 6;
constexpr int pointsPerInch = 72;
} // namespace

bool shrinksToFit(const Control& control) {
    const bool showsCaption =
        control.kind == Kind::commandButton || control.kind == Kind::optionButton || control.kind == Kind::label;
    return showsCaption && !control.narrow && control.font == Font::dialog;
}

int fittingHeight(int ownHeight, int dpi, const std::function<bool(int height)>& fits) {
    if (fits(ownHeight))
        return ownHeight;
    const int smallest = (smallestPoints * dpi + pointsPerInch / 2) / pointsPerInch;
    int height = ownHeight;
    while (height > smallest && !fits(--height)) {
    }
    return height;
}

} // namespace kelvrast::form
