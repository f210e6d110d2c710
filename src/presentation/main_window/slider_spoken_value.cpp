#include "presentation/main_window/slider_spoken_value.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
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
std::optional<double> leadingNumber(std::string_view text) {
    double number = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (result.ec != std::errc() || std::isnan(number))
        return std::nullopt;
    return number;
}

}  // namespace

SliderSpokenValue SliderSpokenValue::of(PanelValueFormat format, double value, double lower,
                                        double upper, double step, std::string_view shown) {
    const double units = format == PanelValueFormat::percent ? kPercentUnits : 1;
    SliderSpokenValue spoken;
    spoken.unitsPerValue = units;
    spoken.minimum = toMillionths(lower * units);
    spoken.maximum = toMillionths(upper * units);
    spoken.step = toMillionths(step * units);
    // A value without a number (NaN) reads as the lower end, never as a
    // number the readout does not show.
    const double known = std::isnan(value) ? lower : value;
    auto current = leadingNumber(shown);
    if (!current)
        current = leadingNumber(panelFormattedValue(format, known));
    spoken.current = current.value_or(spoken.minimum);
    return spoken;
}

double SliderSpokenValue::rowValue(double spoken) const {
    const double clamped = std::isnan(spoken) ? minimum : std::clamp(spoken, minimum, maximum);
    return toMillionths(clamped / unitsPerValue);
}

}  // namespace quorvane
