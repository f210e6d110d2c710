#pragma once

#include "presentation/shell/opening_stop.hpp"

class QWidget;

namespace quorvane {

// Marks what Space or Return does on `control`; unmarked controls stay
// (KeyEffect::stays).
void setKeyEffect(QWidget* control, KeyEffect effect);
KeyEffect keyEffectOf(const QWidget* control);

// Gives the focus to the control `window` opens on (openingStop() over its
// shown, enabled stops in reading order), as the window's own opening does:
// not the control that had it when the window closed. False when there is
// none.
//
// Usage, in a window's showEvent():
//   if (!event->spontaneous()) focusOpeningControl(this);
bool focusOpeningControl(QWidget* window);

}  // namespace quorvane
