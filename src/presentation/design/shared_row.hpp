#pragma once

namespace quorvane {

// How two pieces that wrap (a button and the reason beside it) share one
// line of `available` width with `spacing` between them. Each keeps its
// ideal (one-line) width while both fit; otherwise neither is squeezed
// below half the room: the one that needs less keeps its ideal width, the
// other takes the rest, and two long ones take half each.
struct SharedRowWidths {
    int first = 0;
    int second = 0;

    bool operator==(const SharedRowWidths&) const = default;
};

SharedRowWidths shareRow(int available, int spacing, int firstIdeal, int secondIdeal);

}  // namespace quorvane
