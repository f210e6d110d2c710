#include "models/display/display_control_error.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

void DisplayStore::setMode(const DisplayModeSnapshot& mode, DisplayID displayID) {
    ChangeScope scope(*this);
    try {
        displayManager_->setMode(mode, displayID);
    } catch (const DisplayControlError& error) {
        setStatusMessage(error.description());
        return;
    } catch (const std::exception& error) {
        setStatusMessage(error.what());
        return;
    }
    setStatusMessage("디스플레이 모드 변경됨: " + mode.label());
    // The published snapshots show the new current mode only after a read.
    refresh(RefreshIntent::explicitUserRefresh);
}

}  // namespace quorvane
