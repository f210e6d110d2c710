#pragma once

#include <array>
#include <span>
#include <vector>

namespace quorvane {

// A point or a rectangle in the graph's own coordinates: origin at the top
// left, y growing downward, w × h points with no inset.
struct GraphPoint {
    double x = 0;
    double y = 0;

    bool operator==(const GraphPoint&) const = default;
};

struct GraphRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    bool operator==(const GraphRect&) const = default;
};

// The curve graph's shapes and its pointer rule. A gamma γ draws
// output = x^(1/γ) with γ held to 0.4...2.5 and x to 0.001...0.999: γ = 1 is
// the diagonal, a larger γ lifts the curve. A normalised point (x, y) sits at
// (x·w, (1 − y)·h).
struct RGBCurveGraphGeometry {
    // The decorative bars behind the curve; they depend on nothing.
    static constexpr std::array<double, 16> kHistogramBars = {0.10, 0.42, 0.55, 0.50, 0.36, 0.28,
                                                              0.24, 0.31, 0.47, 0.36, 0.25, 0.18,
                                                              0.38, 0.50, 0.26, 0.17};
    static constexpr int kCurveSegments = 48;

    static double curveOutput(double gamma, double input);
    // Bars standing on the bottom edge with 2-point gaps and margins, each at
    // least 3 wide and 8 high.
    static std::vector<GraphRect> histogramBars(std::span<const double> values, double width,
                                                double height);
    // 49 points joined by 48 segments, from input 0 to 1.
    static std::vector<GraphPoint> curvePoints(double gamma, double width, double height);
    // On the curve at the control input (the input itself is not clamped for
    // the horizontal position).
    static GraphPoint controlPoint(double gamma, double controlInput, double width, double height);
    // A pointer location as the (input, output) pair the editor receives,
    // each held to 0.08...0.92; a plot of 1 point or less divides by 1.
    static GraphPoint pointerPair(double x, double y, double width, double height);
};

}  // namespace quorvane
