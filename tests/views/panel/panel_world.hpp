#pragma once

#include <memory>
#include <vector>

#include "platform/simulated/in_memory_defaults_store.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "platform/simulated/simulated_brightness_controller.hpp"
#include "platform/simulated/simulated_color_profile_manager.hpp"
#include "platform/simulated/simulated_ddc_bus_locator.hpp"
#include "platform/simulated/simulated_ddc_monitor.hpp"
#include "platform/simulated/simulated_display_manager.hpp"
#include "platform/simulated/simulated_gamma_controller.hpp"
#include "platform/simulated/simulated_global_hot_key_registrar.hpp"
#include "platform/simulated/simulated_i2c_buses.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane::testing {

// One store on the simulated platform under virtual time, for the panel's
// widgets: displays and gamma in memory, and one external monitor that
// speaks DDC/CI byte by byte on /dev/i2c-3.
struct PanelWorld {
    static constexpr DisplayID kMonitorID = 3;
    static constexpr DisplayID kBuiltinID = 1;

    PanelWorld();

    // Connects these displays; gamma writes to them succeed.
    void connect(std::vector<DisplaySnapshot> displays);
    DisplayStore& start();
    // Lets a second of virtual time pass: probes and queued monitor writes
    // finish, timeouts do not fire.
    void settle() { scheduler->advance(seconds(1)); }

    // Set-VCP requests the monitor received for `code`.
    int monitorSetRequests(std::uint8_t code) const;

    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<InMemoryDefaultsStore> defaults = std::make_shared<InMemoryDefaultsStore>();
    std::shared_ptr<SimulatedDisplayManager> displayManager =
        std::make_shared<SimulatedDisplayManager>();
    std::shared_ptr<SimulatedBrightnessController> brightness =
        std::make_shared<SimulatedBrightnessController>();
    std::shared_ptr<SimulatedGammaController> gamma = std::make_shared<SimulatedGammaController>();
    std::shared_ptr<SimulatedDDCMonitor> monitor =
        std::make_shared<SimulatedDDCMonitor>(scheduler.get(), scheduler.get());
    std::shared_ptr<SimulatedI2CBuses> buses = std::make_shared<SimulatedI2CBuses>(scheduler.get());
    std::shared_ptr<SimulatedDDCBusLocator> locator = std::make_shared<SimulatedDDCBusLocator>();
    std::unique_ptr<DisplayStore> store;
};

DisplaySnapshot panelExternalDisplay(DisplayID id, std::string name);
DisplaySnapshot panelBuiltinDisplay(DisplayID id);

}  // namespace quorvane::testing
