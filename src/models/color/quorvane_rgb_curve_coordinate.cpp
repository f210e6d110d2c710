#include "models/color/quorvane_rgb_curve_coordinate.hpp"

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

constexpr double kMinGamma = 0.4;
constexpr double kMaxGamma = 2.5;

}  // namespace

double QuorvaneRGBCurveCoordinate::gamma(double output, double input) {
    // A NaN coordinate has no curve through it; keep the channel neutral.
    if (std::isnan(output) || std::isnan(input))
        return 1.0;
    const double x = std::clamp(input, 0.001, 0.999);
    const double lowest = std::pow(x, kMaxGamma);   // the curve of gamma 0.4
    const double highest = std::pow(x, kMinGamma);  // the curve of gamma 2.5
    const double y = std::clamp(output, lowest, highest);
    return std::clamp(std::log(x) / std::log(y), kMinGamma, kMaxGamma);
}

}  // namespace quorvane
