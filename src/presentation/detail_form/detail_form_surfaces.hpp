#pragma once

#include "presentation/design/color_role.hpp"

namespace quorvane {

// The surfaces the detail form draws itself (rounded fill with a 1-point
// inside border). Their colours are palette roles at per-scheme opacities.
enum class DetailSurface {
    stepCard,
    stepNumberDisc,  // fill only
    metricTile,
    previewCard,
    statusChip,
    pictogramScreen,
    pictogramStand,  // fill only
};

struct DetailSurfaceLook {
    ColorUse fill;
    ColorUse border;  // opacity 0 for none
    int cornerRadius = 0;

    bool operator==(const DetailSurfaceLook&) const = default;
};

DetailSurfaceLook detailSurfaceLook(DetailSurface surface, ColorScheme scheme);

}  // namespace quorvane
