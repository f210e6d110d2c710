#include "presentation/main_window/rgb_curve_graph_geometry.hpp"

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

constexpr double kMinGamma = 0.4;
constexpr double kMaxGamma = 2.5;
constexpr double kMinCurveInput = 0.001;
constexpr double kMaxCurveInput = 0.999;
constexpr double kBarGap = 2;
constexpr double kMinBarWidth = 3;
constexpr double kMinBarHeight = 8;
constexpr double kMinPointer = 0.08;
constexpr double kMaxPointer = 0.92;

double clampedGamma(double gamma) {
    // A NaN gamma has no curve; draw the diagonal.
    if (std::isnan(gamma))
        return 1.0;
    return std::clamp(gamma, kMinGamma, kMaxGamma);
}

double clampedInput(double input) {
    if (std::isnan(input))
        return 0.5;
    return std::clamp(input, kMinCurveInput, kMaxCurveInput);
}

double pointerCoordinate(double value) {
    if (std::isnan(value))
        return kMinPointer;
    return std::clamp(value, kMinPointer, kMaxPointer);
}

}  // namespace

double RGBCurveGraphGeometry::curveOutput(double gamma, double input) {
    return std::pow(clampedInput(input), 1.0 / clampedGamma(gamma));
}

std::vector<GraphRect> RGBCurveGraphGeometry::histogramBars(std::span<const double> values,
                                                            double width, double height) {
    std::vector<GraphRect> bars;
    if (values.empty())
        return bars;
    const double count = static_cast<double>(values.size());
    const double barWidth = std::max((width - kBarGap * (count + 1)) / count, kMinBarWidth);
    bars.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double barHeight = std::max(values[i] * height, kMinBarHeight);
        bars.push_back({kBarGap + static_cast<double>(i) * (barWidth + kBarGap), height - barHeight,
                        barWidth, barHeight});
    }
    return bars;
}

std::vector<GraphPoint> RGBCurveGraphGeometry::curvePoints(double gamma, double width,
                                                           double height) {
    std::vector<GraphPoint> points;
    points.reserve(kCurveSegments + 1);
    for (int i = 0; i <= kCurveSegments; ++i) {
        const double t = static_cast<double>(i) / kCurveSegments;
        points.push_back({t * width, (1.0 - curveOutput(gamma, t)) * height});
    }
    return points;
}

GraphPoint RGBCurveGraphGeometry::controlPoint(double gamma, double controlInput, double width,
                                               double height) {
    return {controlInput * width, (1.0 - curveOutput(gamma, controlInput)) * height};
}

GraphPoint RGBCurveGraphGeometry::pointerPair(double x, double y, double width, double height) {
    return {pointerCoordinate(x / std::max(width, 1.0)),
            pointerCoordinate(1.0 - y / std::max(height, 1.0))};
}

}  // namespace quorvane
