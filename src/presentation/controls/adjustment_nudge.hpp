#pragma once

#include <string>

#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

enum class QuorvaneAdjustmentNudgeDirection { decrement, increment };

// The small minus/plus buttons beside a slider: what they show and say. The
// row owns the value and the arithmetic.
struct QuorvaneAdjustmentNudge {
    // A normalised step as whole percent: step × 100 rounded half away from
    // zero ("1%", "5%", "-3%"). Steps are fixed constants; the product is
    // first rounded to a millionth so a decimal half such as 0.015 counts as
    // a half although binary floating point stores it just below.
    static std::string percentText(double step);

    // "<title> <1% | 100K | 조금> <낮추기 | 높이기>", also the tooltip.
    static std::string accessibilityLabel(const std::string& title,
                                          QuorvaneAdjustmentNudgeDirection direction, double step);
    static const char* symbolName(QuorvaneAdjustmentNudgeDirection direction);
    // The square button's side: 30, 34, 39, 44.
    static double squareSide(QuorvaneTextSize size);
    // The symbol's base size before the text scale.
    static constexpr double kSymbolBasePoints = 11;
};

}  // namespace quorvane
