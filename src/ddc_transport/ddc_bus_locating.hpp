#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane {

// Where a display's DDC/CI traffic can go: the bus device files to try in
// order, or why there are none (kDDCBuiltInDisplay or kDDCNoConnector). An
// empty list with code 0 means the connector has no bus (kDDCNoBus).
struct DDCBusRoute {
    std::int32_t code = 0;
    std::vector<std::string> busPaths;

    bool operator==(const DDCBusRoute&) const = default;
};

// Finds the I2C buses of a display. Looking never opens a bus.
class DDCBusLocating {
  public:
    virtual ~DDCBusLocating() = default;
    virtual DDCBusRoute locate(std::uint32_t displayID) const = 0;
    // A transaction over the display's route failed: a locator that
    // remembers routes looks again next time.
    virtual void forget(std::uint32_t /*displayID*/) const {}
};

}  // namespace quorvane
