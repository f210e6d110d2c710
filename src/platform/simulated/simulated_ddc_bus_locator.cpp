#include "platform/simulated/simulated_ddc_bus_locator.hpp"

#include "ddc_transport/ddc_result_code.hpp"

namespace quorvane {

void SimulatedDDCBusLocator::setBuses(std::uint32_t displayID, std::vector<std::string> busPaths) {
    setRoute(displayID, {kDDCSuccess, std::move(busPaths)});
}

void SimulatedDDCBusLocator::setRoute(std::uint32_t displayID, DDCBusRoute route) {
    std::lock_guard lock(mutex_);
    routes_[displayID] = std::move(route);
}

DDCBusRoute SimulatedDDCBusLocator::locate(std::uint32_t displayID) const {
    std::lock_guard lock(mutex_);
    auto it = routes_.find(displayID);
    if (it == routes_.end())
        return {kDDCNoConnector, {}};
    return it->second;
}

}  // namespace quorvane
