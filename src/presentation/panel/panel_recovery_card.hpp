#pragma once

#include <functional>
#include <string>

#include "models/hot_keys/hot_key_combination.hpp"
#include "services/persistence/quorvane_destructive_confirmation_coordinator.hpp"

namespace quorvane {

// The tooltip of the panel's "전체 복구" button, naming the emergency hot key
// as the desktop writes it ("Super+Shift+L").
std::string panelRecoveryHelpText(const HotKeyCombination& emergencyCombination);

// Asks the panel's coordinator to confirm the emergency recovery; `recover`
// runs only once the user confirms. A press while a confirmation is already
// pending changes nothing, so a double press recovers once.
void requestPanelEmergencyRecovery(QuorvaneDestructiveConfirmationCoordinator& coordinator,
                                   std::function<void()> recover);

}  // namespace quorvane
