#pragma once

#include <memory>

#include "platform/interfaces/ddc_controlling.hpp"
#include "platform/simulated/in_memory_defaults_store.hpp"
#include "platform/simulated/simulated_brightness_controller.hpp"
#include "platform/simulated/simulated_color_profile_manager.hpp"
#include "platform/simulated/simulated_display_manager.hpp"
#include "platform/simulated/simulated_gamma_controller.hpp"
#include "platform/simulated/simulated_global_hot_key_registrar.hpp"
#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"

namespace quorvane::testing {

// A monitor link that never answers.
class MuteDDCController final : public DDCControlling {
  public:
    void write(std::uint32_t, DDCVCPCode, std::uint16_t, ResultHandler) override {}
    void availability(std::uint32_t, std::function<void(DDCAvailability)>) override {}
    void probe(std::uint32_t, std::function<void(DDCSnapshot)>) override {}
    void read(std::uint32_t, DDCVCPCode, ResultHandler) override {}
};

// The store's collaborators on the simulated platform with no display, over
// the given scheduler and in-memory defaults.
inline DisplayStoreCollaborators simulatedCollaborators(
    std::shared_ptr<Scheduler> scheduler,
    std::shared_ptr<InMemoryDefaultsStore> defaults = std::make_shared<InMemoryDefaultsStore>()) {
    DisplayStoreCollaborators result;
    result.preferencesStore = std::make_shared<UserDefaultsPreferencesStore>(defaults);
    result.ddcCapabilityCacheStore =
        std::make_shared<UserDefaultsDDCCapabilityCacheStore>(defaults);
    result.displayManager = std::make_shared<SimulatedDisplayManager>();
    result.brightnessController = std::make_shared<SimulatedBrightnessController>();
    result.gammaController = std::make_shared<SimulatedGammaController>();
    result.ddcController = std::make_shared<MuteDDCController>();
    result.globalHotKeyRegistrar = std::make_shared<SimulatedGlobalHotKeyRegistrar>();
    result.colorProfileManager = std::make_shared<SimulatedColorProfileManager>();
    result.recoveryJournalStore = std::make_shared<UserDefaultsRecoveryJournalStore>(defaults);
    result.scheduler = std::move(scheduler);
    result.deferFullRefreshes = false;
    return result;
}

}  // namespace quorvane::testing
