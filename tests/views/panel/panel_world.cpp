#include "views/panel/panel_world.hpp"

#include "ddc_transport/ddc_bus_locating.hpp"
#include "ddc_transport/ddc_result_code.hpp"
#include "services/ddc/ddc_controller.hpp"
#include "views/support/simulated_store.hpp"

namespace quorvane::testing {

PanelWorld::PanelWorld() {
    monitor->setControl(0x10, 40, 100);
    monitor->setControl(0x12, 60, 100);
    buses->attach("/dev/i2c-3", monitor);
    locator->setBuses(kMonitorID, {"/dev/i2c-3"});
    locator->setRoute(kBuiltinID, {kDDCBuiltInDisplay, {}});
}

void PanelWorld::connect(std::vector<DisplaySnapshot> displays) {
    std::set<DisplayID> ids;
    ScreenNames names;
    for (const auto& display : displays) {
        ids.insert(display.id);
        names[display.id] = display.name;
    }
    gamma->setKnownDisplays(ids);
    displayManager->setScreenNames(names);
    displayManager->setDisplays(std::move(displays));
}

DisplayStore& PanelWorld::start() {
    auto collaborators = simulatedCollaborators(scheduler, defaults);
    collaborators.displayManager = displayManager;
    collaborators.brightnessController = brightness;
    collaborators.gammaController = gamma;
    collaborators.ddcController = std::make_shared<DDCController>(
        *scheduler, DDCTransportEnvironment{locator, buses, ddcSleepFunction(*scheduler)});
    store = std::make_unique<DisplayStore>(std::move(collaborators));
    scheduler->runUntilIdle();
    return *store;
}

int PanelWorld::monitorSetRequests(std::uint8_t code) const {
    int count = 0;
    // A set request: source address, length, opcode 0x03, the code, value.
    for (const auto& event : buses->events(SimulatedI2CEvent::Kind::write))
        if (event.bytes.size() >= 4 && event.bytes[2] == 0x03 && event.bytes[3] == code)
            ++count;
    return count;
}

DisplaySnapshot panelExternalDisplay(DisplayID id, std::string name) {
    DisplaySnapshot display;
    display.id = id;
    display.name = std::move(name);
    display.vendorNumber = 4268;
    display.modelNumber = 41000 + id;
    display.serialNumber = 7000 + id;
    display.bounds = {0, 0, 2560, 1440};
    DisplayModeSnapshot mode;
    mode.id = "2560x1440@60";
    mode.width = 2560;
    mode.height = 1440;
    mode.pixelWidth = 2560;
    mode.pixelHeight = 1440;
    mode.refreshRate = 60;
    mode.isCurrent = true;
    display.modes = {mode};
    display.currentMode = mode;
    return display;
}

DisplaySnapshot panelBuiltinDisplay(DisplayID id) {
    auto display = panelExternalDisplay(id, "Built-in Display");
    display.isBuiltin = true;
    display.isMain = true;
    return display;
}

}  // namespace quorvane::testing
