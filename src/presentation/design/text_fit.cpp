#include "presentation/design/text_fit.hpp"

#include <algorithm>

namespace quorvane {

namespace {

// Sizes are tried downwards in steps of this many points.
constexpr double kShrinkStep = 0.25;

}  // namespace

TextFit fitTextToLines(double fullPointSize, double minimumScaleFactor, int maximumLines,
                       const std::function<int(double pointSize)>& linesAt) {
    if (maximumLines <= 0)
        return {fullPointSize, false};
    const double smallest = fullPointSize * std::clamp(minimumScaleFactor, 0.1, 1.0);
    for (double size = fullPointSize; size > smallest; size -= kShrinkStep) {
        if (linesAt(size) <= maximumLines)
            return {size, false};
    }
    return {smallest, linesAt(smallest) > maximumLines};
}

}  // namespace quorvane
