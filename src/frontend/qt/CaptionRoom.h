#pragma once

#include <QFont>
#include <QWidget>

namespace kelvrast {

// Whether a push button's, an option button's or a label's caption shows whole in this font at the widget's present
// size: measured in the room the style leaves the caption, word-wrapped where the window's buttons wrap theirs.
bool captionFits(const QWidget& control, const QFont& font);

} // namespace kelvrast
