#include "presentation/design/system_scheme.hpp"

namespace quorvane {

namespace {

constexpr std::uint32_t kPortalPrefersDark = 1;
constexpr std::uint32_t kPortalPrefersLight = 2;
// A window colour darker than mid grey means the desktop draws dark.
constexpr int kDarkPaletteBelow = 128;

}  // namespace

ColorScheme systemSchemeFrom(std::optional<std::uint32_t> portalValue,
                             std::optional<int> paletteWindowLightness) {
    if (portalValue == kPortalPrefersDark)
        return ColorScheme::dark;
    if (portalValue == kPortalPrefersLight)
        return ColorScheme::light;
    if (paletteWindowLightness && *paletteWindowLightness < kDarkPaletteBelow)
        return ColorScheme::dark;
    return ColorScheme::light;
}

}  // namespace quorvane
