#include "models/ddc/ddc_control_value.hpp"

#include <algorithm>
#include <cmath>

#include "models/coding/number_format.hpp"

namespace quorvane {

std::uint16_t DDCControlValue::scaledValue(double fraction) const {
    if (maximum == 0 || std::isnan(fraction))
        return 0;
    const double clamped = std::clamp(fraction, 0.0, 1.0);
    return static_cast<std::uint16_t>(std::round(clamped * maximum));
}

std::string DDCControlValue::percentLabel() const {
    if (maximum == 0)
        return formatDecimal(static_cast<unsigned>(current));
    const double ratio = std::clamp(static_cast<double>(current) / maximum, 0.0, 1.0);
    return formatDecimal(static_cast<std::int64_t>(std::round(ratio * 100))) + "%";
}

}  // namespace quorvane
