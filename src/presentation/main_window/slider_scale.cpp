#include "presentation/main_window/slider_scale.hpp"

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

constexpr double kValueRounding = 1'000'000.0;
constexpr double kPagesPerRange = 10;

}  // namespace

SliderScale::SliderScale(double lower, double upper, double step)
    : lower_(lower), upper_(std::max(lower, upper)), step_(step), maximumPosition_(0) {
    // A range that is no multiple of the step keeps its last partial step.
    if (step_ > 0 && upper_ > lower_) {
        const double steps = std::ceil((upper_ - lower_) / step_ - 1e-9);
        maximumPosition_ = static_cast<int>(steps) * kPositionsPerStep;
    }
}

int SliderScale::pagePositions() const {
    const double steps = double(maximumPosition_) / kPositionsPerStep;
    const int pageSteps = std::max(1, static_cast<int>(std::lround(steps / kPagesPerRange)));
    return pageSteps * kPositionsPerStep;
}

double SliderScale::pageAmount() const {
    return std::round(step_ * pagePositions() / kPositionsPerStep * kValueRounding) /
           kValueRounding;
}

int SliderScale::position(double value) const {
    if (maximumPosition_ == 0 || std::isnan(value))
        return 0;
    const double exact = (value - lower_) / step_ * kPositionsPerStep;
    return static_cast<int>(std::clamp(std::round(exact), 0.0, double(maximumPosition_)));
}

double SliderScale::value(int position) const {
    if (maximumPosition_ == 0)
        return lower_;
    const double exact = lower_ + step_ * position / kPositionsPerStep;
    const double clamped = std::clamp(exact, lower_, upper_);
    return std::round(clamped * kValueRounding) / kValueRounding;
}

}  // namespace quorvane
