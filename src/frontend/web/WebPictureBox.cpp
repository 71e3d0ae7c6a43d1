#include "frontend/web/WebPictureBox.h"

#include "form/Form.h"
#include "form/Scaling.h"
#include "frontend/web/Page.h"

#include <optional>

namespace kelvrast {

WebPictureBox::WebPictureBox(std::size_t row) : row_(row) {
    const form::TwipsRect pixels = form::pixelsAt96Dpi(form::controls()[row].place);
    surfaceWidth_ = pixels.width - 2 * borderPixels;
    surfaceHeight_ = pixels.height - 2 * borderPixels;
}

void WebPictureBox::circle(float x, float y, float radius) {
    const std::optional<form::PixelCircle> circle =
        form::circleInPixels(x, y, radius, scaleWidth_, scaleHeight_, surfaceWidth_, surfaceHeight_);
    if (circle)
        kelvrast_page_circle(static_cast<int>(row_), circle->centreX, circle->centreY, circle->radius);
}

} // namespace kelvrast
