#include "presentation/main_window/slider_spoken_value.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace quorvane {

namespace {

constexpr double kPercentUnits = 100;

// Products such as 0.05 × 100 land a hair beside the whole number they mean.
double toMillionths(double value) {
    return std::round(value * 1e6) / 1e6;
}

// The leading number of a readout ("60%", "6500K", "1.00"), read the same
// way whatever the process locale.
double leadingNumber(const std::string& text, double fallback) {
    double number = fallback;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    return result.ec == std::errc() ? number : fallback;
}

}  // namespace

SliderSpokenValue SliderSpokenValue::of(PanelValueFormat format, double value, double lower,
                                        double upper, double step) {
    const double units = format == PanelValueFormat::percent ? kPercentUnits : 1;
    SliderSpokenValue spoken;
    spoken.unitsPerValue = units;
    spoken.minimum = toMillionths(lower * units);
    spoken.maximum = toMillionths(upper * units);
    spoken.step = toMillionths(step * units);
    // A value without a number (NaN) reads as the lower end, never as a
    // number the readout does not show.
    const double shown = std::isnan(value) ? lower : value;
    spoken.current = leadingNumber(panelFormattedValue(format, shown), spoken.minimum);
    return spoken;
}

double SliderSpokenValue::rowValue(double spoken) const {
    const double clamped = std::isnan(spoken) ? minimum : std::clamp(spoken, minimum, maximum);
    return toMillionths(clamped / unitsPerValue);
}

}  // namespace quorvane
