#pragma once

#include <string>
#include <string_view>

#include "models/color/color_adjustment.hpp"

namespace quorvane {

// One per-display colour value carried by an imported settings file, keyed
// by the exporting machine's display identity.
struct QuorvaneSettingsImportDisplayAdjustment {
    std::string identityRawValue;
    ColorAdjustment adjustment;

    bool operator==(const QuorvaneSettingsImportDisplayAdjustment&) const = default;

    // How an identity raw value from another machine is shown:
    // "저장된 디스플레이 <vendor>/<model>" when it names both, else the value
    // itself, cut to 33 characters and "…" when 37 characters or longer.
    static std::string displayLabel(std::string_view rawValue);
};

}  // namespace quorvane
