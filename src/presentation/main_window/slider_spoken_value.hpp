#pragma once

#include <string_view>

#include "presentation/panel/panel_slider_row_content.hpp"

namespace quorvane {

// A slider row's value as assistive technology reads and sets it: the number
// of the row's readout, in its unit and precision, within the row's range in
// that unit. "60%" is 60 within 5…100 by steps of 1, "6500K" is 6500 within
// 2700…9300 by steps of 100, "1.00" is 1 within 0.1…1.5 by steps of 0.05.
// The slider's integer positions are a drawing detail nobody should hear.
struct SliderSpokenValue {
    double current = 0;
    double minimum = 0;
    double maximum = 1;
    double step = 0.01;
    // Spoken units per unit of the row's value: 100 for a percentage.
    double unitsPerValue = 1;

    bool operator==(const SliderSpokenValue&) const = default;

    // The row at `value` (the draft, pending or owner's value the readout
    // shows) with its range and nudge step. `current` is the number the
    // readout `shown` starts with (the owner's own text at rest), or, when
    // it starts with none, the number `format` writes for `value`.
    static SliderSpokenValue of(PanelValueFormat format, double value, double lower, double upper,
                                double step, std::string_view shown = {});

    // The row value a spoken value asks for, clamped to the range (a NaN
    // asks for the lower end).
    double rowValue(double spoken) const;
};

}  // namespace quorvane
