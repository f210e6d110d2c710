#pragma once

#include <optional>

#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// A top-level surface's size in device-independent pixels.
struct FrameSize {
    int width = 0;
    int height = 0;
    bool operator==(const FrameSize&) const = default;
};

// What a window manager's frame adds around a window's inside: the title bar
// and the borders. A window without a frame (a popup) has none.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const FrameMargins&) const = default;
};

// The main window's size when it first opens.
inline constexpr FrameSize kMainWindowDefaultSize{840, 620};

// The panel and the settings window take their width from the text size and
// their height from the available height of the screen they open on, between
// a floor and the text size's cap. Without a screen (none given) the height
// starts from the cap.
FrameSize menuPanelFrameSize(QuorvaneTextSize textSize, std::optional<int> availableHeight);
FrameSize settingsWindowFrameSize(QuorvaneTextSize textSize, std::optional<int> availableHeight);

// Whether a window manager's frame can be `margins`: a frame surrounds its
// window, no side of it inside the window. While a window manager takes a
// window into its frame, the window system may for a moment tell a frame
// smaller than the window it holds.
bool surroundsItsWindow(FrameMargins margins);

// A window's whole size: its inside with the frame around it.
FrameSize withFrame(FrameSize inside, FrameMargins margins);

// An inside size (from the tables, a window's first or smallest size) cut to
// what a work area of `area` leaves once the frame is counted, so the whole
// window fits on the screen; what its content then lacks, it scrolls.
FrameSize fittedInside(FrameSize inside, FrameMargins margins, FrameSize area);

// The base size a window tells its window manager, which sizes it in steps
// of a logical pixel in device pixels (two at one and a half) counted from
// that base, rounding a size between steps down: the steps pass through the
// window's size, so it is not cut, and through its smallest size when the
// window stands at it (every size above the smallest size then rounds down
// to one no smaller). At `scale` device pixels to a logical one, as Qt
// rounds them.
FrameSize sizeStepBase(FrameSize minimum, FrameSize size, double scale);

}  // namespace quorvane
