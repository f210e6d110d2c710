#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

// What the display server says about one output: its name ("DP-1",
// "HDMI-1", "eDP-1") and the EDID bytes of the monitor on it (empty when the
// server has none).
struct DDCOutputDescription {
    std::string outputName;
    std::vector<std::uint8_t> edid;
    bool isBuiltin = false;

    bool operator==(const DDCOutputDescription&) const = default;
};

// Describes the output behind a display ID; none for an unknown display.
class DDCOutputDescribing {
  public:
    virtual ~DDCOutputDescribing() = default;
    virtual std::optional<DDCOutputDescription> describe(std::uint32_t displayID) const = 0;
};

}  // namespace quorvane
