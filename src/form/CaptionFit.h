#pragma once

#include "form/Form.h"

#include <functional>

namespace kelvrast::form {

// A caption that does not show whole in the window's caption font gets the largest smaller font in which it does,
// down to six points, below which type is no longer read; there it stays cut. Controls far narrower than their
// caption keep the font and show the caption as a tooltip, and the two large boxes have a font of their own. Every
// window follows this policy, each measuring as its own window system lays captions out.

// Whether the control's caption may be shown in a smaller font than the window's.
bool shrinksToFit(const Control& control);

// The font height in pixels for a caption: the window's own height when fits says the caption shows whole in it,
// else the first height below it, one pixel at a time, at which it does, but never below six points at dpi.
int fittingHeight(int ownHeight, int dpi, const std::function<bool(int height)>& fits);

} // namespace kelvrast::form
