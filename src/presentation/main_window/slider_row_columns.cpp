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

namespace {

int scaled(double points, QuorvaneTextSize size) {
    return static_cast<int>(std::lround(points * textScale(size)));
}

// The widest column beside controls whose slider keeps its comfortable
// width, or none below the label's least width.
std::optional<int> widestColumn(int rowWidth, QuorvaneTextSize size) {
    const int controls = SliderRowColumns::controlsMinimumWidth(size) -
                         SliderRowColumns::kSliderMinimumWidth +
                         SliderRowColumns::kSliderComfortableWidth;
    const int room = rowWidth - SliderRowColumns::kLabelSpacing - controls;
    if (room < scaled(SliderRowColumns::kLabelMinimumWidth, size))
        return std::nullopt;
    return room;
}

}  // namespace

std::optional<int> SliderRowColumns::labelWidth(int rowWidth, QuorvaneTextSize size) {
    const auto room = widestColumn(rowWidth, size);
    if (!room)
        return std::nullopt;
    return std::min(scaled(kLabelIdealWidth, size), *room);
}

std::optional<int> SliderRowColumns::labelWidth(int rowWidth, QuorvaneTextSize size,
                                                LabelNeeds needs) {
    const auto room = widestColumn(rowWidth, size);
    if (!room)
        return std::nullopt;
    const int need = std::max({needs.titleLine, needs.widest, scaled(kLabelMinimumWidth, size)});
    return std::min(need, *room);
}

}  // namespace quorvane
