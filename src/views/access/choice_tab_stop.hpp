#pragma once

class QButtonGroup;

namespace quorvane {

// Keeps the one Tab stop of a group of choices (a picker's segments) on the
// chosen one whenever the focus is not inside the group, as a radio group
// does: Tab into the picker lands on what is chosen, a screen reader hears
// it checked, and the arrow keys move the choice from there. Within the
// group Qt moves the stop with the focus. Lives as long as `group`.
//
// Usage: keepTabStopOnChoice(group_);
void keepTabStopOnChoice(QButtonGroup* group);

}  // namespace quorvane
