#pragma once

#include <optional>
#include <utility>

#include "models/color/color_adjustment.hpp"

namespace quorvane {

// The one-step undo value of a display: the saved adjustment it had before
// its last change, or none (undo then removes the saved adjustment).
struct QuorvanePreviousAdjustment {
    std::optional<ColorAdjustment> adjustment;

    static QuorvanePreviousAdjustment value(ColorAdjustment adjustment) {
        return {std::move(adjustment)};
    }
    static QuorvanePreviousAdjustment none() { return {}; }

    bool isNone() const { return !adjustment.has_value(); }

    bool operator==(const QuorvanePreviousAdjustment&) const = default;
};

}  // namespace quorvane
