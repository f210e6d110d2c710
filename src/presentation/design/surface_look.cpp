#include "presentation/design/surface_look.hpp"

#include <cmath>

namespace quorvane {

int SurfaceShadow::reach() const {
    return static_cast<int>(std::ceil(3.0 * sigma()));
}

SurfaceLook surfaceLook(SurfaceKind kind, ColorScheme scheme) {
    const bool dark = scheme == ColorScheme::dark;
    if (kind == SurfaceKind::hero) {
        return {.fill = {ColorRole::surface, 0.99},
                .stroke = {ColorRole::heroBorder, dark ? 0.86 : 0.74},
                .shadow = dark ? SurfaceShadow{0.05, 3, 1} : SurfaceShadow{0.08, 14, 6}};
    }
    return {.fill = {ColorRole::surface, 0.98},
            .stroke = {ColorRole::surfaceBorder, dark ? 0.82 : 0.72},
            .shadow = dark ? SurfaceShadow{0.04, 3, 1} : SurfaceShadow{0.08, 12, 5}};
}

}  // namespace quorvane
