#pragma once

#include <cstdint>
#include <string>

#include "models/ddc/ddc_vcp_code.hpp"

namespace quorvane {

// One reading of one monitor control, in the monitor's raw units.
struct DDCControlValue {
    DDCVCPCode code = DDCVCPCode::brightness;
    std::uint16_t current = 0;
    std::uint16_t maximum = 0;  // 0 when the monitor gives none

    bool operator==(const DDCControlValue&) const = default;

    // A slider fraction as a raw value: 0 without a maximum, else the fraction
    // clamped to 0...1 times the maximum, rounded half away from zero. A
    // fraction that is not a number counts as 0.
    std::uint16_t scaledValue(double fraction) const;

    // "50%" for 50 of 100 (clamped to 0...100 %), or the bare current value
    // without a maximum.
    std::string percentLabel() const;
};

}  // namespace quorvane
