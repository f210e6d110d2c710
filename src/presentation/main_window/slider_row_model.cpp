#include "presentation/main_window/slider_row_model.hpp"

#include <cmath>
#include <utility>

#include "models/coding/number_format.hpp"

namespace quorvane {

namespace {

// Nudged values are rounded to millionths so that repeated steps of 0.05
// land on the nearest doubles to 0.15, 0.2, 0.25 and never drift.
constexpr double kNudgeRounding = 1'000'000.0;

}  // namespace

SliderRowModel::SliderRowModel(SliderRowKind kind, double lower, double upper, double nudgeStep,
                               Formatter formatter, double outsideValue)
    : kind_(kind),
      lower_(lower),
      upper_(upper),
      nudgeStep_(nudgeStep),
      formatter_(std::move(formatter)),
      outsideValue_(outsideValue),
      draftValue_(outsideValue) {}

void SliderRowModel::beginEditing() {
    draftValue_ = currentVisibleValue();
    isEditing_ = true;
}

void SliderRowModel::moveDraft(double value) {
    draftValue_ = value;
}

double SliderRowModel::endEditing() {
    isEditing_ = false;
    if (kind_ == SliderRowKind::monitor)
        pendingValue_ = draftValue_;
    return draftValue_;
}

double SliderRowModel::nudgeDown() {
    return nudged(-nudgeStep_);
}

double SliderRowModel::nudgeUp() {
    return nudged(nudgeStep_);
}

double SliderRowModel::nudged(double delta) {
    double value = currentVisibleValue() + delta;
    if (value <= lower_)
        value = lower_;
    if (upper_ < value)
        value = upper_;
    value = std::round(value * kNudgeRounding) / kNudgeRounding;
    draftValue_ = value;
    pendingValue_ = value;
    return value;
}

void SliderRowModel::setOutsideValue(double value) {
    if (value == outsideValue_)
        return;
    outsideValue_ = value;
    if (!isEditing_)
        draftValue_ = value;
    pendingValue_.reset();
}

double SliderRowModel::currentVisibleValue() const {
    if (isEditing_)
        return draftValue_;
    return pendingValue_.value_or(outsideValue_);
}

std::string SliderRowModel::displayedValueText(std::string_view valueText) const {
    if (isEditing_)
        return formatter_(draftValue_);
    if (pendingValue_)
        return formatter_(*pendingValue_);
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

int sliderReadoutMinimumWidth(QuorvaneTextSize size) {
    switch (size) {
        case QuorvaneTextSize::standard:
            return 52;
        case QuorvaneTextSize::large:
            return 60;
        case QuorvaneTextSize::extraLarge:
            return 70;
        case QuorvaneTextSize::veryLarge:
            return 84;
    }
    return 52;
}

}  // namespace quorvane
