#include "presentation/panel/panel_slider_row_content.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "models/coding/number_format.hpp"
#include "presentation/controls/adjustment_nudge.hpp"
#include "presentation/main_window/slider_row_model.hpp"

namespace quorvane {

namespace {

constexpr double kWarmestKelvin = 2700;
constexpr double kCoolestKelvin = 9300;

// A NaN has no whole number; it shows as 0 rather than reaching the
// integer conversion.
std::int64_t roundedWhole(double value) {
    return std::isnan(value) ? 0 : static_cast<std::int64_t>(std::round(value));
}

}  // namespace

std::string panelFormattedValue(PanelValueFormat format, double value) {
    switch (format) {
        case PanelValueFormat::twoDecimals:
            return formatFixed(value, 2);
        case PanelValueFormat::percent:
            return QuorvaneAdjustmentNudge::percentText(value);
        case PanelValueFormat::kelvinHundreds: {
            const double kelvin =
                std::isnan(value) ? 6500.0 : std::clamp(value, kWarmestKelvin, kCoolestKelvin);
            return formatDecimal(roundedWhole(kelvin / 100) * 100) + "K";
        }
    }
    return {};
}

std::string PanelSliderRowContent::accessibilityHint() const {
    return sliderAccessibilityHint(
        title, std::nullopt, commitsToMonitor ? SliderRowKind::monitor : SliderRowKind::software);
}

}  // namespace quorvane
