#pragma once

#include <optional>

#include "models/settings/quorvane_text_size.hpp"
#include "presentation/design/text_size_table.hpp"

namespace quorvane {

// How a slider row shares its width between the label (title and subtitle)
// and the controls (minus, slider, plus, readout). Side by side, the label
// takes a column of its ideal width, or less when the row is narrower, and
// its title wraps inside it; the controls take the rest. The column depends
// only on the row's width and the text size, never on the row's own texts,
// so the rows of one card, which share a width, keep one column and their
// sliders start at one x. When even the label column's minimum does not fit
// beside the controls' least width, the label goes above the controls, and
// then in every row of the card alike.
struct SliderRowColumns {
    // In points at the standard text size; they grow with the text scale.
    static constexpr double kLabelIdealWidth = 120;
    static constexpr double kLabelMinimumWidth = 72;
    static constexpr int kSliderMinimumWidth = 80;
    // Between label and controls, and between the controls.
    static constexpr int kLabelSpacing = 12;
    static constexpr int kControlSpacing = 8;
    // Between label and controls when stacked.
    static constexpr int kStackedSpacing = 6;

    // The least width of the controls: two nudge buttons, the slider's least
    // width, the readout column and the spacing between them.
    static int controlsMinimumWidth(QuorvaneTextSize size);
    // The label column's width in a row `rowWidth` wide, or none when the
    // row puts its label above its controls.
    static std::optional<int> labelWidth(int rowWidth, QuorvaneTextSize size);
};

}  // namespace quorvane
