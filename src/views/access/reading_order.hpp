#pragma once

#include <vector>

class QWidget;

namespace quorvane {

// The order a person reads a window in: top to bottom, and leading side to
// trailing side along a line. A window is read block by block: the children
// of a widget are ordered by where they sit in it (children whose heights
// overlap stand on one line and are read leading side first), and each child
// is read to its end before the next one starts, so a sidebar is read down
// to its last row before the column beside it, and a toolbar before the
// page under it. Only the controls Tab stops at count (Tab focus, no focus
// proxy); a control's own controls follow it. A widget that hands the
// focus to one of its own controls (a dialog's button box) stands right
// before that control, where Qt looks for it. Explicitly hidden children
// come after the shown ones, in the same order among themselves, so the
// order stays the same until they show. The chain also links, each at its
// place, every choice of a picker, so Tab goes on in reading order from
// whichever choice the picker's one stop has moved to. A widget holding the
// window's focus though Tab does not stop at it (a card given the focus for
// the moment) is linked at its place too, so Tab goes on from there.
//
// Usage:
//   applyReadingOrder(window);          // Tab now follows the reading order
//   focusFirstTabStop(page);            // an opening lands on its first control
std::vector<QWidget*> tabStopsInReadingOrder(QWidget* root);

// Links `window`'s focus chain in its reading order.
void applyReadingOrder(QWidget* window);

// The first control of `root` in reading order that Tab would stop at now
// (shown, enabled), or null.
QWidget* firstTabStop(QWidget* root);

// Gives the focus to the first control of `root`, as a window opening does:
// the control is named by a screen reader, and the focus is no pick of the
// user's (a wheel over it still scrolls the page). False when `root` has no
// control to stop at.
bool focusFirstTabStop(QWidget* root);

}  // namespace quorvane
