#pragma once

#include "presentation/shell/popup_placement.hpp"

#include <optional>

class QScreen;
class QWidget;

namespace quorvane {

// The work area of `screen` in the toolkit's logical pixels: its output
// less the strips the desktop's docks keep (their struts), read afresh from
// the X server, each measured from the edges of the screen the lit outputs
// span (as the window manager measures them: the X root window can be
// larger). Qt's own available geometry counts the docks only where
// the X screen has a single output, so a second output left every window
// free to go under a dock; the struts are counted here per output, in
// device pixels, and turned into logical ones once, at any scale factor.
// Off X11 (or where the server cannot tell) Qt's own.
ScreenRect desktopWorkArea(const QScreen* screen);

// Where the X server has a shown window's inside, in logical pixels, as
// the screen whose output holds its corner counts them. Qt may tell a
// passing place as a window is framed or crosses to another output (a
// place mapped through the output it stood on before); the server's is the
// one the window stands at. None off X11, or where no output holds it.
std::optional<ScreenRect> serverPlaceOf(const QWidget* window);

}  // namespace quorvane
