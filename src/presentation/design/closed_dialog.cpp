#include "presentation/design/closed_dialog.hpp"

namespace quorvane {

KeyboardHolder keyboardHolderAtClose(std::optional<KeyboardHolder> serverSays,
                                     KeyboardHolder toolkitSays) {
    return serverSays.value_or(toolkitSays);
}

bool openerAsksForTheKeyboard(bool openerShown, KeyboardHolder holder) {
    return openerShown && holder == KeyboardHolder::closedDialog;
}

}  // namespace quorvane
