#pragma once

#include <functional>

namespace quorvane {

// How a text with a line limit is set: the point size it is drawn in and
// whether its end is cut off (elided) at that size.
struct TextFit {
    double pointSize = 0;
    bool cut = false;

    bool operator==(const TextFit&) const = default;
};

// A text allowed at most `maximumLines` lines keeps its full size when it
// fits. Otherwise it shrinks, in steps of a quarter point and last to exactly
// `minimumScaleFactor` of the full size (clamped to 0.1–1), to the largest
// size at which it fits; only when even the smallest size needs more lines
// is it cut, at the smallest size. `linesAt` tells how many lines the text
// takes at a point size. A limit of zero or less means no limit.
//
// Usage: fitTextToLines(12, 0.86, 2, [&](double size) { return linesOf(text, size); });
TextFit fitTextToLines(double fullPointSize, double minimumScaleFactor, int maximumLines,
                       const std::function<int(double pointSize)>& linesAt);

}  // namespace quorvane
