#pragma once

#include <cstdint>
#include <optional>

#include "presentation/design/color_role.hpp"

namespace quorvane {

// The desktop's light or dark preference. `portalValue` is the settings
// portal's org.freedesktop.appearance color-scheme (1 prefers dark, 2 prefers
// light, 0 has no preference), absent when the portal did not answer; without
// a preference the platform palette's window lightness (0...255) decides, and
// with nothing known the answer is light.
ColorScheme systemSchemeFrom(std::optional<std::uint32_t> portalValue,
                             std::optional<int> paletteWindowLightness);

}  // namespace quorvane
