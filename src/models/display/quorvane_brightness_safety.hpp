#pragma once

#include "models/color/color_adjustment.hpp"

namespace quorvane {

// What emergency recovery writes in software: the neutral adjustment.
struct QuorvaneBrightnessSafety {
    static ColorAdjustment emergencySoftwareAdjustment() { return ColorAdjustment::neutral(); }
};

}  // namespace quorvane
