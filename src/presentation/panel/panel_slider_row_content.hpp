#pragma once

#include <string>

#include "presentation/main_window/slider_scale.hpp"

namespace quorvane {

// How a row writes a value while it is dragged or nudged.
enum class PanelValueFormat {
    twoDecimals,     // "0.85"
    percent,         // 0.375 -> "38%"
    kelvinHundreds,  // 6512 -> "6500K"
};

// The text of a value in one of the rows' formats. Rounding is half away
// from zero throughout.
std::string panelFormattedValue(PanelValueFormat format, double value);

// Everything one slider row of the quick tuning card shows at rest.
struct PanelSliderRowContent {
    std::string title;
    std::string icon;  // glyph symbol name
    double lower = 0;
    double upper = 1;
    double nudgeStep = 0.01;
    double value = 0;       // the owner's value the row starts from
    std::string valueText;  // the owner's text for that value
    PanelValueFormat format = PanelValueFormat::twoDecimals;
    bool showsHardwareWriteTag = false;
    // The monitor row hands its value to a monitor write instead of a store
    // value, and always carries the hardware-write tag.
    bool commitsToMonitor = false;

    bool operator==(const PanelSliderRowContent&) const = default;

    // The accessibility hint of the row.
    std::string accessibilityHint() const;
    // The slider's positions, its arrow step and its page, by the rule every
    // slider of the program follows.
    SliderScale scale() const { return {lower, upper, nudgeStep}; }
};

}  // namespace quorvane
