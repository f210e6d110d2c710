#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "models/color/transfer_tables.hpp"

namespace quorvane {

// A CRTC's gamma ramp: 16-bit output levels per channel, as many entries
// as the hardware has (not necessarily 256).
struct GammaRamp {
    std::vector<std::uint16_t> red;
    std::vector<std::uint16_t> green;
    std::vector<std::uint16_t> blue;

    bool operator==(const GammaRamp&) const = default;

    std::size_t size() const { return red.size(); }

    // Each table resampled to `size` entries by linear interpolation between
    // its neighbouring entries, so both ends keep their values whatever the
    // sizes.
    static GammaRamp fromTables(const TransferTables& tables, std::size_t size);

    // The ramp that leaves every level unchanged: entry i is i / (size - 1).
    static GammaRamp identity(std::size_t size);
};

// One table resampled to `size` 16-bit levels (values clamped to 0...1).
std::vector<std::uint16_t> resampleTable(std::span<const float> table, std::size_t size);

}  // namespace quorvane
