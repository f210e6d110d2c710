#pragma once

class QAbstractButton;
class QString;

namespace quorvane {

// Makes a checkable button that acts on its click (a disclosure header, a
// segment of a picker) answer a screen reader's "Press" and "Toggle" alike
// with a click, as the mouse and the space bar do. Qt's own "Toggle" only
// flips the check mark: the page would show the group open, or the segment
// chosen, while nothing listening for the click ever heard of it. The
// button reads as a check box with its checked state, or as a radio button
// when it is one choice of an exclusive group, and its text as name, unless
// it has an accessible name of its own.
// A button that is not checkable reads as a plain button answering "Press";
// a push button with a menu reads as a menu button that "Press" and
// "ShowMenu" both open (Qt's own offers only "ShowMenu", and a screen reader
// that presses finds nothing to do). Each leaves out the decorative drawings
// in it (hideFromAccessibility()).
//
// Usage, once, where the button is made:
//   readAsToggleButton(segment);
void readAsToggleButton(QAbstractButton* button);

// Reads a checkable option of a set the same way, and also as selectable:
// while checked it is selected and its value is `selectedValue`, otherwise
// its value is empty.
void readAsSelectableOption(QAbstractButton* button, const QString& selectedValue);

}  // namespace quorvane
