#pragma once

namespace quorvane {

// What becomes of a result carried with the focus (a file action's answer,
// read with the control the focus lands on) when the focus leaves that
// control.
enum class CarriedResultStep {
    // It stays with the control, to be read as the focus comes back to it.
    stays,
    // It is over: the control reads as before.
    ends,
    // It goes with the focus to the control that has it now.
    followsTheFocus,
};

struct FocusLeavingCarrier {
    // A screen reader asked for the result since it was carried.
    bool read = false;
    // A screen reader listens to the program at all.
    bool readerListens = false;
    // The focus went to another control of the same window; otherwise the
    // window lost it (another window or program), and gives it back to the
    // same control when it is active again.
    bool movedWithinTheWindow = false;
};

// A screen reader that falls behind (the echo of a typed path, a flood of
// another program's events, a user pressing Tab at once) skips a focus
// landing whose control no longer holds the focus when it gets to it: a
// result carried by such a control is never heard. So a result stays with
// the focus until a screen reader has asked for it, and only then, with the
// focus moving on, is it over: heard once, and the control it was read
// with reads as before. Without a screen reader nothing is carried along.
CarriedResultStep whenTheFocusLeavesTheCarrier(const FocusLeavingCarrier& leaving);

}  // namespace quorvane
