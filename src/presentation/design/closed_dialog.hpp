#pragma once

#include <optional>

namespace quorvane {

// Where the keyboard was as a dialog closed.
enum class KeyboardHolder {
    // The dialog itself: the user was in it.
    closedDialog,
    // The window it was opened over (the window manager handed the
    // keyboard back by itself).
    opener,
    // Another of the program's windows, one still showing: the user went
    // there.
    otherWindow,
    // Another program's window, or none at all.
    elsewhere,
};

// Who held the keyboard as a dialog closed, from two witnesses. The X
// server's word (the window holding its input focus, or the one the window
// manager calls active) is current even when the program's own thread was
// busy as the user went elsewhere (a save waiting on a slow disk); the
// toolkit's is what the program last heard, the only word where the server
// names no window (off X11, or as it takes the keyboard from the window
// that just went).
KeyboardHolder keyboardHolderAtClose(std::optional<KeyboardHolder> serverSays,
                                     KeyboardHolder toolkitSays);

// Whether the window a dialog was opened over asks to be the active window
// as the dialog closes: only when the keyboard was in the dialog and the
// opener still shows. A window manager hands the keyboard back to the
// dialog's parent as a rule, but not always: under a screen reader, or with
// another program's window just shown, it may hand it to that window or to
// none, and the keyboard then reaches nothing (Ctrl+W, Escape, Tab do
// nothing) while the result the user waits for is held until the window is
// active again. A dialog closed while the keyboard was elsewhere (from a
// taskbar, by a screen reader's action, by a save that ended after the user
// went to another program) takes the keyboard from no one: its result waits
// for the user to come back.
bool openerAsksForTheKeyboard(bool openerShown, KeyboardHolder holder);

}  // namespace quorvane
