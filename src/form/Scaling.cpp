#include "form/Scaling.h"

#include <cmath>

namespace kelvrast::form {

namespace {
constexpr int twipsPerInch = 1440;
constexpr double farthestDrawn = 1e7;
} // namespace

int twipsToPixels(int twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / twipsPerInch));
}

PixelRect placeAt(const TwipsRect& place, int dpi) {
    return {twipsToPixels(place.left, dpi), twipsToPixels(place.top, dpi), twipsToPixels(place.right(), dpi),
            twipsToPixels(place.bottom(), dpi)};
}

std::optional<PixelCircle> circleInPixels(float x, float y, float radius, float scaleWidth, float scaleHeight,
                                          double surfaceWidth, double surfaceHeight) {
    if (scaleWidth == 0 || scaleHeight == 0)
        return std::nullopt;
    const double pixelsPerUnitX = surfaceWidth / scaleWidth;
    const double pixelsPerUnitY = surfaceHeight / scaleHeight;
    const PixelCircle circle{x * pixelsPerUnitX, y * pixelsPerUnitY, std::abs(radius * pixelsPerUnitX)};
    if (!std::isfinite(circle.centreX) || !std::isfinite(circle.centreY) || !std::isfinite(circle.radius) ||
        std::abs(circle.centreX) > farthestDrawn || std::abs(circle.centreY) > farthestDrawn ||
        circle.radius > farthestDrawn)
        return std::nullopt;
    return circle;
}

} // namespace kelvrast::form
