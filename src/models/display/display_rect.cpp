#include "models/display/display_rect.hpp"

#include <cmath>
#include <functional>

namespace quorvane {

double DisplayRect::minX() const {
    return width < 0 ? x + width : x;
}
double DisplayRect::minY() const {
    return height < 0 ? y + height : y;
}
double DisplayRect::maxX() const {
    return width < 0 ? x : x + width;
}
double DisplayRect::maxY() const {
    return height < 0 ? y : y + height;
}

DisplayRect DisplayRect::standardized() const {
    return {minX(), minY(), std::fabs(width), std::fabs(height)};
}

DisplayRect DisplayRect::integral() const {
    const double left = std::floor(minX());
    const double top = std::floor(minY());
    return {left, top, std::ceil(maxX()) - left, std::ceil(maxY()) - top};
}

bool DisplayRect::operator==(const DisplayRect& other) const {
    const DisplayRect a = standardized();
    const DisplayRect b = other.standardized();
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

std::size_t hashValue(const DisplayRect& rect) {
    const DisplayRect s = rect.standardized();
    std::size_t seed = 0;
    for (double value : {s.x, s.y, s.width, s.height}) {
        const double normalised = value == 0 ? 0.0 : value;  // 0 and -0 are equal
        seed ^= std::hash<double>{}(normalised) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    }
    return seed;
}

}  // namespace quorvane
