#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "models/color/gamma_ramp.hpp"

namespace quorvane {

// The calibration an ICC display profile carries for the video card: its
// `vcgt` curves, one per channel, sampled at `size` evenly spaced inputs
// from 0 to 1. None when the bytes are not a profile, the profile has no
// `vcgt` tag or `size` is below 2.
std::optional<GammaRamp> vcgtRamp(std::span<const std::uint8_t> profile, std::size_t size);

}  // namespace quorvane
