#include "views/design/symbol_side.hpp"

#include <QFont>
#include <algorithm>
#include <cmath>

#include "views/design/layout_points.hpp"

namespace quorvane {

int symbolSide(double points) {
    return std::max(1, static_cast<int>(std::lround(points)));
}

int symbolSide(const QFont& font) {
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return symbolSide(font.pointSizeF() / kQtPointsPerLayoutPoint);
}

}  // namespace quorvane
