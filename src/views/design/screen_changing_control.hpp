#pragma once

class QWidget;

namespace quorvane {

// Marks a control whose press changes what a screen shows (a nudge beside a
// slider, a preset or scene tile, an apply button): a Return or Space that
// comes a moment late must not land on it, so focus moves that follow a
// result (the undo prompt going) pass it by.
//
// Usage:
//   markChangesScreen(tile);
void markChangesScreen(QWidget* control);
bool changesScreen(const QWidget* control);

}  // namespace quorvane
