#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/simulated/in_memory_defaults_store.hpp"
#include "platform/simulated/simulated_brightness_controller.hpp"
#include "platform/simulated/simulated_color_profile_manager.hpp"
#include "platform/simulated/simulated_ddc_bus_locator.hpp"
#include "platform/simulated/simulated_ddc_monitor.hpp"
#include "platform/simulated/simulated_display_manager.hpp"
#include "platform/simulated/simulated_gamma_controller.hpp"
#include "platform/simulated/simulated_global_hot_key_registrar.hpp"
#include "platform/simulated/simulated_i2c_buses.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

// The displays a screenshot's store starts with.
enum class ShotWorld {
    // The private dummy X server as it is: three external outputs with real
    // gamma ramps and modes, no backlight, no monitor answering DDC.
    dummyServer,
    // Simulated: a laptop's built-in panel with a backlight (60 %).
    builtinPanel,
    // Simulated: one external monitor that answers DDC/CI.
    ddcMonitor,
    // Simulated: one external display with software colour only (no
    // backlight, nothing answers on its bus).
    colourOnly,
    // Simulated: no active display.
    noDisplay,
    // Simulated: the built-in panel, the DDC monitor and the colour-only
    // display together.
    mixed,
};

// Display IDs of the simulated worlds.
inline constexpr DisplayID kShotBuiltinID = 101;
inline constexpr DisplayID kShotDDCMonitorID = 202;
inline constexpr DisplayID kShotColourOnlyID = 303;

// The simulated hardware behind a simulated world, open to a shot's
// `prepare` before the store is built (the dummy server world has none of
// it apart from the defaults).
struct ShotHardware {
    std::shared_ptr<InMemoryDefaultsStore> defaults = std::make_shared<InMemoryDefaultsStore>();
    std::shared_ptr<SimulatedDisplayManager> displayManager =
        std::make_shared<SimulatedDisplayManager>();
    std::shared_ptr<SimulatedBrightnessController> brightness =
        std::make_shared<SimulatedBrightnessController>();
    std::shared_ptr<SimulatedGammaController> gamma = std::make_shared<SimulatedGammaController>();
    std::shared_ptr<SimulatedColorProfileManager> profiles =
        std::make_shared<SimulatedColorProfileManager>();
    std::shared_ptr<SimulatedGlobalHotKeyRegistrar> registrar =
        std::make_shared<SimulatedGlobalHotKeyRegistrar>();
    std::shared_ptr<SimulatedI2CBuses> buses = std::make_shared<SimulatedI2CBuses>();
    std::shared_ptr<SimulatedDDCBusLocator> busLocator = std::make_shared<SimulatedDDCBusLocator>();
    // The monitor behind kShotDDCMonitorID (brightness, contrast, RGB gains,
    // input source, volume).
    std::shared_ptr<SimulatedDDCMonitor> monitor = std::make_shared<SimulatedDDCMonitor>();
};

// Fills the hardware with the world's displays.
void populateShotHardware(ShotWorld world, ShotHardware& hardware);

// The store's collaborators over the simulated hardware (synchronous
// refreshes, so the store is complete once built).
DisplayStoreCollaborators simulatedShotCollaborators(const ShotHardware& hardware,
                                                     std::shared_ptr<Scheduler> scheduler);

// The store's collaborators on the X server of $DISPLAY with its records in
// `folder`.
DisplayStoreCollaborators dummyServerShotCollaborators(const std::filesystem::path& folder,
                                                       std::shared_ptr<Scheduler> scheduler);

}  // namespace quorvane
