#pragma once

#include <QImage>
#include <QRect>
#include <algorithm>
#include <cstdlib>

#include "views/support/contrast_ratio.hpp"
#include "views/support/ink.hpp"

namespace quorvane::testing {

// How strongly the text drawn in `region` of `picture` stands out from the
// ground it is drawn on (the region's most common colour): the contrast of
// its strongest pixel. A glyph's fully covered pixels carry the text's own
// colour, so this is the contrast a reader gets; antialiased edges only
// weaken the others. 1.0 when nothing is drawn.
inline double inkContrast(const QImage& picture, const QRect& region) {
    const QRect area = region.intersected(picture.rect());
    const QColor ground = QColor::fromRgba(backgroundOf(picture, area));
    double strongest = 1.0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            strongest = std::max(strongest, contrastRatio(picture.pixelColor(x, y), ground));
    }
    return strongest;
}

// The colour `region` is filled with: its most common one.
inline QColor groundOf(const QImage& picture, const QRect& region) {
    return QColor::fromRgba(backgroundOf(picture, region.intersected(picture.rect())));
}

// The largest difference of two colours in any of their 8-bit channels.
inline int channelDistance(const QColor& first, const QColor& second) {
    return std::max({std::abs(first.red() - second.red()), std::abs(first.green() - second.green()),
                     std::abs(first.blue() - second.blue())});
}

}  // namespace quorvane::testing
