#pragma once

namespace quorvane {

// Turns a point dragged on a channel curve (output = input^(1/gamma)) into
// that channel's gamma.
struct QuorvaneRGBCurveCoordinate {
    // Both arguments on the curve's 0...1 scale; the result is within 0.4...2.5.
    static double gamma(double output, double input);
};

}  // namespace quorvane
