#pragma once

#include <optional>

#include "models/settings/quorvane_text_size.hpp"
#include "presentation/design/text_size_table.hpp"

namespace quorvane {

// How a slider row shares its width between the label (title and subtitle)
// and the controls (minus, slider, plus, readout). Side by side, the label
// takes a column as wide as it needs, or less when the row is narrower (its
// texts then wrap inside it); the controls take the rest, the slider never
// less than a comfortable width while the label can give way. The rows of
// one card share one column, as wide as the widest of their labels needs
// (LabelNeeds), so their sliders start at one x; a row on its own takes a
// column that depends only on its width and the text size. When even the
// label's least width does not fit beside the controls, the label goes above
// the controls, and then in every row of the card alike.
struct SliderRowColumns {
    // In points at the standard text size; they grow with the text scale.
    static constexpr double kLabelIdealWidth = 120;
    static constexpr double kLabelMinimumWidth = 72;
    static constexpr int kSliderMinimumWidth = 80;
    // The slider's width that a label column never takes from it, in
    // pixels at every text size (the controls beside it grow instead).
    static constexpr int kSliderComfortableWidth = 120;
    // Between label and controls, and between the controls.
    static constexpr int kLabelSpacing = 12;
    static constexpr int kControlSpacing = 8;
    // Between label and controls when stacked.
    static constexpr int kStackedSpacing = 6;

    // What the labels of a card need: the widest title line (title and,
    // in a monitor row, its tag) and the widest label line of all.
    struct LabelNeeds {
        int titleLine = 0;
        int widest = 0;

        bool operator==(const LabelNeeds&) const = default;
    };

    // The least width of the controls: two nudge buttons, the slider's least
    // width, the readout column and the spacing between them.
    static int controlsMinimumWidth(QuorvaneTextSize size);
    // The widest label column a row `rowWidth` wide gives, leaving the
    // slider its comfortable width, or none when not even the label's least
    // width fits: the row then puts its label above its controls.
    static std::optional<int> labelWidth(int rowWidth, QuorvaneTextSize size);
    // The column of a card's rows `rowWidth` wide whose labels need `needs`:
    // what they need, within what the row gives.
    static std::optional<int> labelWidth(int rowWidth, QuorvaneTextSize size, LabelNeeds needs);
};

}  // namespace quorvane
