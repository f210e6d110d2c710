#pragma once

namespace quorvane {

// Which window a closed dialog leaves active.
struct ClosedDialogWindows {
    // The window the dialog was opened over still shows.
    bool openerShown = false;
    // It is the active window already (the window manager handed the
    // keyboard back by itself).
    bool openerActive = false;
    // Another of the program's windows, one still showing, is active: the
    // user went there.
    bool otherWindowActive = false;
};

// Whether the window a dialog was opened over asks to be the active window
// as the dialog closes. A window manager hands the keyboard back to the
// dialog's parent as a rule, but not always: under a screen reader, or with
// another program's window just shown, it may hand it to that window or to
// none, and the keyboard then reaches nothing (Ctrl+W, Escape, Tab do
// nothing) while the result the user waits for is held until the window is
// active again. Asking is harmless where the manager did hand it back, and
// never takes the keyboard from another window the user went to.
bool openerAsksForTheKeyboard(const ClosedDialogWindows& windows);

}  // namespace quorvane
