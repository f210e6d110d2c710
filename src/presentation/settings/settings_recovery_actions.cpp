#include "presentation/settings/settings_recovery_actions.hpp"

#include "services/display_store/display_store.hpp"
#include "services/persistence/quorvane_destructive_confirmation_coordinator.hpp"

namespace quorvane {

void requestFullReset(QuorvaneDestructiveConfirmationCoordinator& confirmations,
                      DisplayStore& store) {
    confirmations.request(QuorvaneDestructiveActionKind::resetAllSettings, std::nullopt,
                          QuorvaneDestructiveConfirmationStyle::destructive,
                          [&store] { store.resetAllSettings(); });
}

}  // namespace quorvane
