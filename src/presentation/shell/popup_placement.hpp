#pragma once

#include <optional>

#include "presentation/shell/shell_frame_sizes.hpp"

namespace quorvane {

// A rectangle in screen pixels: top-left corner and size.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// Where the panel's popup opens: centred under a tray icon in the upper half
// of the screen, centred above one in the lower half, and at the pointer
// when the tray gives no icon geometry; always moved inside the screen's
// available area (never covering the icon where there is room).
ScreenRect popupPlacement(FrameSize size, std::optional<ScreenRect> trayIcon, int pointerX,
                          int pointerY, ScreenRect available);

// Where a window at `frame` sits once it takes `size`: it keeps the corner
// nearest the corner of the area it sits in (growing left from a window on
// the right half, up from one on the lower half), then moves inside the
// available area.
ScreenRect resizedInPlace(ScreenRect frame, FrameSize size, ScreenRect available);

// Where the frame of a window whose inside lies at `inside` goes to stand
// wholly in the available area: the frame around the inside, cut to the
// area's size, moved no further than it must.
ScreenRect placedFrame(ScreenRect inside, FrameMargins margins, ScreenRect available);

}  // namespace quorvane
