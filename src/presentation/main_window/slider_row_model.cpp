#include "presentation/main_window/slider_row_model.hpp"

#include <utility>

#include "models/coding/number_format.hpp"

namespace quorvane {

namespace {

PanelSliderRowState::PendingRule pendingRule(SliderRowKind kind) {
    return kind == SliderRowKind::monitor ? PanelSliderRowState::PendingRule::nudgesAndDrags
                                          : PanelSliderRowState::PendingRule::nudgesOnly;
}

}  // namespace

SliderRowModel::SliderRowModel(SliderRowKind kind, double lower, double upper, double nudgeStep,
                               Formatter formatter, double outsideValue)
    : formatter_(std::move(formatter)),
      state_(outsideValue, lower, upper, nudgeStep, pendingRule(kind)) {}

void SliderRowModel::beginEditing() {
    state_.beginEditing();
}

void SliderRowModel::moveDraft(double value) {
    state_.moveThumb(value);
}

std::optional<double> SliderRowModel::endEditing() {
    return state_.endEditing();
}

double SliderRowModel::nudgeDown() {
    return nudged(QuorvaneAdjustmentNudgeDirection::decrement);
}

double SliderRowModel::nudgeUp() {
    return nudged(QuorvaneAdjustmentNudgeDirection::increment);
}

double SliderRowModel::nudged(QuorvaneAdjustmentNudgeDirection direction) {
    // At the end of the range the value stays where it is.
    if (const auto value = state_.nudge(direction))
        return *value;
    return state_.clampedAndRounded(state_.currentVisibleValue());
}

double SliderRowModel::step(double value) {
    return state_.stepWithoutHold(value);
}

void SliderRowModel::setOutsideValue(double value) {
    state_.ownerValueChanged(value);
}

std::string SliderRowModel::displayedValueText(std::string_view valueText) const {
    if (const auto value = state_.formattedValue())
        return formatter_(*value);
    return std::string(valueText);
}

std::string sliderAccessibilityHint(std::string_view title,
                                    const std::optional<std::string>& subtitle,
                                    SliderRowKind kind) {
    std::string hint;
    if (subtitle)
        hint += *subtitle + ". ";
    hint += "좌우 방향키 또는 양쪽의 더하기/빼기 버튼으로 ";
    hint += title;
    hint += kind == SliderRowKind::monitor ? "을 조정합니다. 변경값은 모니터에 직접 적용됩니다."
                                           : "을 조정합니다.";
    return hint;
}

std::string defaultSliderValueText(double value) {
    return formatFixed(value, 2);
}

}  // namespace quorvane
