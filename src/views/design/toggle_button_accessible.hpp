#pragma once

class QAbstractButton;

namespace quorvane {

// Makes a checkable button that acts on its click (a disclosure header, a
// segment of a picker) answer a screen reader's "Press" and "Toggle" alike
// with a click, as the mouse and the space bar do. Qt's own "Toggle" only
// flips the check mark: the page would show the group open, or the segment
// chosen, while nothing listening for the click ever heard of it. The
// button reads as Qt reads a checkable button (a check box with its checked
// state) and its text as name, unless it has an accessible name of its own.
//
// Usage, once, where the button is made:
//   readAsToggleButton(segment);
void readAsToggleButton(QAbstractButton* button);

}  // namespace quorvane
