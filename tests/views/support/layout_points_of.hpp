#pragma once

#include <QFont>

#include "views/design/layout_points.hpp"

namespace quorvane::testing {

// A font's size in the layout points the theme's tables are written in.
inline double layoutPointsOf(const QFont& font) {
    return font.pointSizeF() / kQtPointsPerLayoutPoint;
}

}  // namespace quorvane::testing
