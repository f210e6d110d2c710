#include "presentation/detail_form/detail_form_surfaces.hpp"

namespace quorvane {

namespace {

ColorUse use(ColorRole role, ColorScheme scheme, double light, double dark) {
    return {role, bySchemePair(scheme, light, dark)};
}

}  // namespace

DetailSurfaceLook detailSurfaceLook(DetailSurface surface, ColorScheme scheme) {
    const ColorUse none{ColorRole::surfaceBorder, 0};
    switch (surface) {
        case DetailSurface::stepCard:
            return {use(ColorRole::surface, scheme, 0.82, 0.62),
                    use(ColorRole::surfaceBorder, scheme, 0.72, 0.72), 16};
        case DetailSurface::stepNumberDisc:
            return {use(ColorRole::accentFill, scheme, 0.78, 0.64), none, 12};
        case DetailSurface::metricTile:
            return {use(ColorRole::track, scheme, 0.58, 0.48),
                    use(ColorRole::surfaceBorder, scheme, 0.68, 0.68), 12};
        case DetailSurface::previewCard:
            return {use(ColorRole::track, scheme, 0.52, 0.42),
                    use(ColorRole::surfaceBorder, scheme, 0.62, 0.62), 12};
        case DetailSurface::statusChip:
            return {use(ColorRole::surface, scheme, 0.66, 0.54),
                    use(ColorRole::surfaceBorder, scheme, 0.52, 0.52), 8};
        case DetailSurface::pictogramScreen:
            return {use(ColorRole::accentFill, scheme, 0.70, 0.56),
                    use(ColorRole::accent, scheme, 0.30, 0.38), 8};
        case DetailSurface::pictogramStand:
            return {use(ColorRole::accent, scheme, 0.62, 0.62), none, 1};
    }
    return {};
}

}  // namespace quorvane
