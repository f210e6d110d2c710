#include "presentation/main_window/slider_row_columns.hpp"

#include <algorithm>
#include <cmath>

#include "presentation/controls/adjustment_nudge.hpp"
#include "presentation/design/typography.hpp"
#include "presentation/main_window/slider_row_model.hpp"

namespace quorvane {

int SliderRowColumns::controlsMinimumWidth(QuorvaneTextSize size) {
    const int nudge = static_cast<int>(std::lround(QuorvaneAdjustmentNudge::squareSide(size)));
    return 2 * nudge + kSliderMinimumWidth + kSliderReadoutMinimumWidth[size] + 3 * kControlSpacing;
}

std::optional<int> SliderRowColumns::labelWidth(int rowWidth, QuorvaneTextSize size) {
    const double scale = textScale(size);
    const int ideal = static_cast<int>(std::lround(kLabelIdealWidth * scale));
    const int minimum = static_cast<int>(std::lround(kLabelMinimumWidth * scale));
    const int room = rowWidth - kLabelSpacing - controlsMinimumWidth(size);
    if (room < minimum)
        return std::nullopt;
    return std::min(ideal, room);
}

}  // namespace quorvane
