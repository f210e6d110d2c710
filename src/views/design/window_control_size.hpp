#pragma once

#include "presentation/design/typography.hpp"

class QWidget;

namespace quorvane {

// The control size a window's standard controls are drawn at. It is kept on
// the window itself, so the application's one style reads it for any widget
// inside that window, the way fonts and palettes are inherited.
//
// Setting a new size makes every widget of the window measure itself again
// (a check box or a picker forgets its cached size), so the controls grow
// or shrink in place.
void setWindowControlSize(QWidget* window, QuorvaneControlSize size);

// The size of the window that holds `widget`; `regular` for a widget in no
// themed window (or none at all).
QuorvaneControlSize controlSizeOf(const QWidget* widget);

}  // namespace quorvane
