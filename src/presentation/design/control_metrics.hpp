#pragma once

#include "presentation/design/typography.hpp"

namespace quorvane {

// The sizes of the toolkit's own controls at one control size, in pixels:
// what the windows' style draws sliders, check boxes, radio buttons, pickers
// and push buttons with. Each grows from `regular` through `large` to
// `extraLarge`, so a control never stays small beside text that grew; the
// two largest text sizes share `extraLarge`.
struct ControlMetrics {
    int sliderHandle = 0;      // side of the slider's thumb
    int sliderGroove = 0;      // thickness of its track
    int indicator = 0;         // side of a check box or radio button
    int buttonMinHeight = 0;   // least height of a push button or picker
    int pickerArrowWidth = 0;  // width of a picker's drop-down area
    int arrow = 0;             // width of a drop-down chevron
    int menuIcon = 0;          // side of a menu item's symbol

    bool operator==(const ControlMetrics&) const = default;
};

ControlMetrics controlMetrics(QuorvaneControlSize size);

}  // namespace quorvane
