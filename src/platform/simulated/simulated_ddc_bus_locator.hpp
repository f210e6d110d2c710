#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ddc_transport/ddc_bus_locating.hpp"

namespace quorvane {

// Display IDs mapped to fixed routes; an unknown display has no connector.
class SimulatedDDCBusLocator final : public DDCBusLocating {
  public:
    void setBuses(std::uint32_t displayID, std::vector<std::string> busPaths);
    void setRoute(std::uint32_t displayID, DDCBusRoute route);

    DDCBusRoute locate(std::uint32_t displayID) const override;

  private:
    mutable std::mutex mutex_;
    std::map<std::uint32_t, DDCBusRoute> routes_;
};

}  // namespace quorvane
