#include "presentation/panel/panel_slider_row_content.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "models/coding/number_format.hpp"
#include "presentation/controls/adjustment_nudge.hpp"

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
    std::string hint = "좌우 방향키 또는 양쪽의 더하기/빼기 버튼으로 " + title + "을 조정합니다.";
    if (commitsToMonitor)
        hint += " 변경값은 모니터에 직접 적용됩니다.";
    return hint;
}

}  // namespace quorvane
