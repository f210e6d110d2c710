#pragma once

#include <QCheckBox>
#include <QColor>
#include <QImage>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>
#include <algorithm>
#include <optional>

#include "views/support/contrast_ratio.hpp"

namespace quorvane::testing {

// The contrast of the weakest unchecked check box boundary in `window` as
// drawn: for every visible, enabled, unchecked box, the strongest pixel of
// its left edge (on the row through its middle) against the window's pixel
// just outside it. Nothing when the window shows no such box.
inline std::optional<double> weakestUncheckedBoxContrast(QWidget& window) {
    const QImage picture = window.grab().toImage();
    const double ratio = picture.devicePixelRatio();
    const auto pixel = [&](QPoint at) { return picture.pixelColor(at * ratio); };
    std::optional<double> weakest;
    for (QCheckBox* box : window.findChildren<QCheckBox*>()) {
        if (!box->isVisibleTo(&window) || !box->isEnabled() || box->isChecked())
            continue;
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect indicator =
            box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        const QPoint edge(indicator.left(), indicator.center().y());
        // Only a box on screen, with room for the background beside it.
        if (!box->visibleRegion().contains(edge))
            continue;
        const QPoint left = box->mapTo(&window, edge);
        if (left.x() < 3)
            continue;
        const QColor background = pixel(left - QPoint(3, 0));
        double strongest = 1;
        for (int dx = 0; dx < 3; ++dx)
            strongest = std::max(strongest, contrastRatio(pixel(left + QPoint(dx, 0)), background));
        weakest = std::min(weakest.value_or(strongest), strongest);
    }
    return weakest;
}

}  // namespace quorvane::testing
