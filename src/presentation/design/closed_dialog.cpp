#include "presentation/design/closed_dialog.hpp"

namespace quorvane {

bool openerAsksForTheKeyboard(const ClosedDialogWindows& windows) {
    return windows.openerShown && !windows.openerActive && !windows.otherWindowActive;
}

}  // namespace quorvane
