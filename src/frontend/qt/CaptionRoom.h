#pragma once

#include <QFont>
#include <QWidget>

namespace kelvrast {

// Whether a push button's, an option button's or a label's caption shows whole in this font at the widget's present
// size: measured in the room the style leaves the caption, word-wrapped where the window's buttons wrap theirs.
bool captionFits(const QWidget& control, const QFont& font);

// Gives each control of the window whose caption does not show whole in the window's font the largest smaller one
// in which it does, as the form's caption policy says. Measured at the controls' places, so they are placed first.
void fitCaptions(const QWidget& window);

} // namespace kelvrast
