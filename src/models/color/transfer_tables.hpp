#pragma once

#include <vector>

#include "models/color/color_adjustment.hpp"

namespace quorvane {

// The three gamma transfer tables of one display. Entry i of a table is the
// output level (0...1) for the input level i / (n - 1).
struct TransferTables {
    std::vector<float> red;
    std::vector<float> green;
    std::vector<float> blue;

    bool operator==(const TransferTables&) const = default;
};

// Builds the tables for an adjustment: n = tableSize entries per channel (at
// least 2). Out-of-range fields are clamped, never refused: brightness to
// 0...1.5, contrast to 0.2...2, gamma to 0.2...3, channel gammas to 0.4...2.5
// and warmth to -1...1; gains are used as given. Per entry, in this order:
// contrast around the middle, the common gamma, the channel gamma, brightness
// and gain, the warmth factor, the clamp to 0...1 and the inversion.
TransferTables buildTransferTables(const ColorAdjustment& adjustment, int tableSize);

}  // namespace quorvane
