#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "models/display/display_mode_snapshot.hpp"
#include "models/display/display_rect.hpp"

namespace quorvane {

// The system's display ID; valid only while the display stays connected.
using DisplayID = std::uint32_t;

// One active display as the system described it at the last read.
struct DisplaySnapshot {
    DisplayID id = 0;
    std::string name;
    std::uint32_t vendorNumber = 0;
    std::uint32_t modelNumber = 0;
    std::uint32_t serialNumber = 0;  // 0 when the monitor reports none
    bool isMain = false;
    bool isBuiltin = false;
    DisplayRect bounds;
    std::optional<DisplayModeSnapshot> currentMode;  // absent when modes were not read
    std::vector<DisplayModeSnapshot> modes;          // empty when modes were not read
    std::optional<double> hardwareBrightness;        // 0...1 when read and offered

    bool operator==(const DisplaySnapshot&) const = default;

    // "vendor 1552, model 41240, serial 0".
    std::string technicalSubtitle() const;
};

std::size_t hashValue(const DisplaySnapshot& display);

}  // namespace quorvane
