#include "presentation/shell/popup_placement.hpp"

#include <algorithm>

namespace quorvane {

namespace {

// Space between the icon (or pointer) and the popup's edge.
constexpr int kGap = 4;

int clampInto(int start, int length, int areaStart, int areaLength) {
    // A popup larger than the area starts at the area's edge.
    const int last = std::max(areaStart, areaStart + areaLength - length);
    return std::clamp(start, areaStart, last);
}

// The start of a span that keeps its far end when the span's centre lies
// past the area's centre, and its near end otherwise.
int keptEndStart(int start, int oldLength, int newLength, int areaStart, int areaLength) {
    const bool farHalf = 2 * start + oldLength > 2 * areaStart + areaLength;
    return farHalf ? start + oldLength - newLength : start;
}

}  // namespace

ScreenRect popupPlacement(FrameSize size, std::optional<ScreenRect> trayIcon, int pointerX,
                          int pointerY, ScreenRect available) {
    const bool hasIcon = trayIcon && trayIcon->width > 0 && trayIcon->height > 0;
    const ScreenRect anchor = hasIcon ? *trayIcon : ScreenRect{pointerX, pointerY, 0, 0};
    const int centreX = anchor.x + anchor.width / 2;
    const int centreY = anchor.y + anchor.height / 2;
    const bool upperHalf = centreY < available.y + available.height / 2;

    const int x = centreX - size.width / 2;
    const int y = upperHalf ? anchor.y + anchor.height + kGap : anchor.y - kGap - size.height;
    return {clampInto(x, size.width, available.x, available.width),
            clampInto(y, size.height, available.y, available.height), size.width, size.height};
}

ScreenRect resizedInPlace(ScreenRect frame, FrameSize size, ScreenRect available) {
    const int x = keptEndStart(frame.x, frame.width, size.width, available.x, available.width);
    const int y = keptEndStart(frame.y, frame.height, size.height, available.y, available.height);
    return {clampInto(x, size.width, available.x, available.width),
            clampInto(y, size.height, available.y, available.height), size.width, size.height};
}

ScreenRect placedFrame(ScreenRect inside, FrameMargins margins, ScreenRect available) {
    const FrameSize whole = withFrame({inside.width, inside.height}, margins);
    const int width = std::min(whole.width, available.width);
    const int height = std::min(whole.height, available.height);
    return {clampInto(inside.x - margins.left, width, available.x, available.width),
            clampInto(inside.y - margins.top, height, available.y, available.height), width,
            height};
}

}  // namespace quorvane
