#pragma once

namespace quorvane {

// Where the thumb of a scroll bar sits along a track `trackLength` long that
// shows `pageStep` of a range running from `minimum` to `maximum` (the
// first visible position): its length is the visible share of the whole
// content, never shorter than `minimumThumb` (nor longer than the track),
// and its start moves from the track's start at `minimum` to its end at
// `maximum`. A bar with nothing to scroll is all thumb. The bars have no
// arrow buttons: the whole length is track.
struct ScrollThumb {
    int start = 0;
    int length = 0;

    bool operator==(const ScrollThumb&) const = default;
};

ScrollThumb scrollThumb(int trackLength, int minimum, int maximum, int pageStep, int value,
                        int minimumThumb);

// The bar's thickness and its least thumb length, in pixels.
inline constexpr int kScrollBarThickness = 12;
inline constexpr int kScrollBarMinimumThumb = 28;

}  // namespace quorvane
