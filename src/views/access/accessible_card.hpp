#pragma once

#include <QString>

class QAbstractButton;
class QWidget;

namespace quorvane {

// Makes an action card read as one element by assistive technology: its
// `button` (placed in `card` itself), named by the card's title and
// described by its explanation, in a pane that says nothing of its own; the
// card's other parts are not read one by one. Call again when the title or
// explanation changes.
//
// Usage:
//   readAsOneButton(card, button, title, detail);
void readAsOneButton(QWidget* card, QAbstractButton* button, const QString& title,
                     const QString& description);

// The card read as one button that presses `control`, or null: what a
// screen reader reads (and shows the place of) while `control` has the
// focus.
QWidget* cardReadAsOneButton(const QWidget* control);

}  // namespace quorvane
