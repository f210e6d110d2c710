#include "presentation/panel/panel_slider_row_state.hpp"

#include <cmath>

namespace quorvane {

namespace {

constexpr double kNudgeResolution = 1'000'000;  // six decimals

}  // namespace

PanelSliderRowState::PanelSliderRowState(double ownerValue, double lower, double upper,
                                         double nudgeStep, PendingRule rule)
    : lower_(lower),
      upper_(upper),
      nudgeStep_(nudgeStep),
      rule_(rule),
      ownerValue_(ownerValue),
      draftValue_(ownerValue) {}

double PanelSliderRowState::currentVisibleValue() const {
    if (isEditing_)
        return draftValue_;
    return pendingValue_.value_or(ownerValue_);
}

std::optional<double> PanelSliderRowState::formattedValue() const {
    if (isEditing_)
        return draftValue_;
    return pendingValue_;
}

double PanelSliderRowState::drawnThumbValue() const {
    if (!isEditing_)
        return ownerValue_;
    return takenThumb_.value_or(draftValue_);
}

void PanelSliderRowState::beginEditing() {
    if (isEditing_)
        return;
    takenThumb_ = drawnThumbValue();
    draftValue_ = currentVisibleValue();
    takenValue_ = draftValue_;
    isEditing_ = true;
}

void PanelSliderRowState::moveThumb(double value) {
    takenThumb_.reset();
    draftValue_ = clamped(value);
}

std::optional<double> PanelSliderRowState::endEditing() {
    isEditing_ = false;
    takenThumb_.reset();
    if (draftValue_ == takenValue_)
        return std::nullopt;
    if (rule_ == PendingRule::nudgesAndDrags)
        pendingValue_ = draftValue_;
    return draftValue_;
}

double PanelSliderRowState::stepWithoutHold(double value) {
    beginEditing();
    moveThumb(value);
    isEditing_ = false;
    // Shown, like a nudged value, until the owner publishes a change; a step
    // that stays on the owner's value leaves nothing pending.
    if (draftValue_ == ownerValue_)
        pendingValue_.reset();
    else
        pendingValue_ = draftValue_;
    return draftValue_;
}

std::optional<double> PanelSliderRowState::nudge(QuorvaneAdjustmentNudgeDirection direction) {
    const bool up = direction == QuorvaneAdjustmentNudgeDirection::increment;
    if (up ? !canIncrement() : !canDecrement())
        return std::nullopt;
    const double value = clampedAndRounded(currentVisibleValue() + (up ? nudgeStep_ : -nudgeStep_));
    draftValue_ = value;
    pendingValue_ = value;
    return value;
}

void PanelSliderRowState::ownerValueChanged(double value) {
    // NaN never equals itself; treat a repeated NaN as no change.
    const bool same = value == ownerValue_ || (std::isnan(value) && std::isnan(ownerValue_));
    if (same)
        return;
    ownerValue_ = value;
    if (!isEditing_)
        draftValue_ = value;
    pendingValue_.reset();
}

double PanelSliderRowState::clamped(double value) const {
    if (!(value > lower_))
        return lower_;
    if (upper_ < value)
        return upper_;
    return value;
}

double PanelSliderRowState::clampedAndRounded(double value) const {
    return std::round(clamped(value) * kNudgeResolution) / kNudgeResolution;
}

}  // namespace quorvane
