#pragma once

#include <string>
#include <vector>

#include "models/color/color_adjustment.hpp"

namespace quorvane {

// One-click settings of the levels trio (brightness, contrast, gamma).
struct QuorvaneLevelsAdjustment {
    struct QuickOption {
        std::string id;
        std::string label;
        std::string detail;
        double softwareBrightness = 1;
        double contrast = 1;
        double gamma = 1;

        bool operator==(const QuickOption&) const = default;

        // `adjustment` with exactly the three levels fields replaced.
        ColorAdjustment applied(ColorAdjustment adjustment) const;
    };

    // soft-tone, crisp-tone, neutral-tone (the neutral adjustment's levels).
    static const std::vector<QuickOption>& quickOptions();
};

}  // namespace quorvane
