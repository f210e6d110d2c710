#include "presentation/controls/adjustment_nudge.hpp"

#include <cmath>

#include "presentation/design/text_size_table.hpp"

namespace quorvane {

namespace {

constexpr double kSameStep = 1e-6;
constexpr double kOnePercent = 0.01;
constexpr double kHundredKelvin = 100;

}  // namespace

std::string QuorvaneAdjustmentNudge::percentText(double step) {
    const double hundredfold = std::round(step * 100 * 1e6) / 1e6;
    return std::to_string(std::llround(hundredfold)) + "%";
}

std::string QuorvaneAdjustmentNudge::accessibilityLabel(const std::string& title,
                                                        QuorvaneAdjustmentNudgeDirection direction,
                                                        double step) {
    std::string word = "조금";
    if (std::abs(step - kOnePercent) < kSameStep)
        word = "1%";
    else if (std::abs(step - kHundredKelvin) < kSameStep)
        word = "100K";
    const char* verb =
        direction == QuorvaneAdjustmentNudgeDirection::decrement ? "낮추기" : "높이기";
    return title + " " + word + " " + verb;
}

const char* QuorvaneAdjustmentNudge::symbolName(QuorvaneAdjustmentNudgeDirection direction) {
    return direction == QuorvaneAdjustmentNudgeDirection::decrement ? "minus" : "plus";
}

double QuorvaneAdjustmentNudge::squareSide(QuorvaneTextSize size) {
    static constexpr TextSizeTable<double> kSides{{30, 34, 39, 44}};
    return kSides[size];
}

}  // namespace quorvane
