#include "views/panel/panel_slider_row.hpp"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <utility>

namespace quorvane {

namespace {

// The slider moves in tenths of a nudge step: fine enough for a drag, and a
// keyboard arrow press is exactly one nudge step.
constexpr int kTicksPerStep = 10;

// A wheel turned over a slider the user never picked scrolls the panel
// instead of changing the screen.
class FocusedWheelSlider final : public QSlider {
  public:
    using QSlider::QSlider;

  protected:
    void wheelEvent(QWheelEvent* event) override {
        if (!hasFocus()) {
            event->ignore();
            return;
        }
        QSlider::wheelEvent(event);
    }
};

PanelSliderRowState::PendingRule pendingRule(const PanelSliderRowSpec& spec) {
    return spec.commitsToMonitor ? PanelSliderRowState::PendingRule::nudgesAndDrags
                                 : PanelSliderRowState::PendingRule::nudgesOnly;
}

}  // namespace

PanelSliderRow::PanelSliderRow(const PanelSliderRowSpec& spec, Write write, QWidget* parent)
    : QFrame(parent),
      spec_(spec),
      state_(spec.value, spec.lower, spec.upper, spec.nudgeStep, pendingRule(spec)),
      write_(std::move(write)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(6);

    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    title_ = new QLabel(this);
    title_->setWordWrap(true);
    value_ = new QLabel(this);
    value_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    header->addWidget(title_, 1);
    header->addWidget(value_);
    layout->addLayout(header);

    auto* controls = new QHBoxLayout;
    controls->setSpacing(8);
    decrement_ = new QToolButton(this);
    decrement_->setText(QStringLiteral("−"));
    increment_ = new QToolButton(this);
    increment_->setText(QStringLiteral("+"));
    slider_ = new FocusedWheelSlider(Qt::Horizontal, this);
    slider_->setFocusPolicy(Qt::StrongFocus);
    slider_->setSingleStep(kTicksPerStep);
    slider_->setPageStep(kTicksPerStep * 10);
    controls->addWidget(decrement_);
    controls->addWidget(slider_, 1);
    controls->addWidget(increment_);
    layout->addLayout(controls);

    connect(slider_, &QSlider::sliderPressed, this, &PanelSliderRow::pressed);
    connect(slider_, &QSlider::sliderMoved, this, &PanelSliderRow::moved);
    connect(slider_, &QSlider::sliderReleased, this, &PanelSliderRow::released);
    connect(slider_, &QSlider::valueChanged, this, &PanelSliderRow::valueChangedWithoutHold);
    connect(decrement_, &QToolButton::clicked, this,
            [this] { nudge(PanelNudgeDirection::decrement); });
    connect(increment_, &QToolButton::clicked, this,
            [this] { nudge(PanelNudgeDirection::increment); });
    setSpec(spec);
}

void PanelSliderRow::setSpec(const PanelSliderRowSpec& spec) {
    spec_ = spec;
    title_->setText(QString::fromStdString(spec.title));
    slider_->setAccessibleName(QString::fromStdString(spec.title));
    slider_->setAccessibleDescription(QString::fromStdString(spec.accessibilityHint()));
    decrement_->setAccessibleName(QString::fromStdString(spec.title + " 낮추기"));
    increment_->setAccessibleName(QString::fromStdString(spec.title + " 높이기"));
    state_.ownerValueChanged(spec.value);
    showState();
}

int PanelSliderRow::ticksOf(double value) const {
    return static_cast<int>(std::lround((value - spec_.lower) / spec_.nudgeStep * kTicksPerStep));
}

double PanelSliderRow::valueOf(int ticks) const {
    return state_.clampedAndRounded(spec_.lower +
                                    spec_.nudgeStep * static_cast<double>(ticks) / kTicksPerStep);
}

void PanelSliderRow::pressed() {
    state_.beginEditing();
    showState();
}

void PanelSliderRow::moved(int ticks) {
    if (!state_.isEditing())
        return;
    state_.moveThumb(valueOf(ticks));
    showState();
}

void PanelSliderRow::released() {
    if (!state_.isEditing())
        return;
    const double value = state_.endEditing();
    showState();
    send(value);
}

void PanelSliderRow::valueChangedWithoutHold(int ticks) {
    if (syncing_ || slider_->isSliderDown() || state_.isEditing())
        return;
    const double value = state_.stepWithoutHold(valueOf(ticks));
    showState();
    send(value);
}

void PanelSliderRow::nudge(PanelNudgeDirection direction) {
    const auto value = state_.nudge(direction);
    showState();
    if (value)
        send(*value);
}

void PanelSliderRow::send(double value) {
    if (write_)
        write_(value);
}

void PanelSliderRow::showState() {
    const auto formatted = state_.formattedValue();
    const QString text = QString::fromStdString(
        formatted ? panelFormattedValue(spec_.format, *formatted) : spec_.valueText);
    value_->setText(text);
    slider_->setAccessibleDescription(QString::fromStdString(spec_.accessibilityHint()));
    decrement_->setEnabled(state_.canDecrement());
    increment_->setEnabled(state_.canIncrement());
    if (state_.isEditing())
        return;
    syncing_ = true;
    slider_->setRange(0, ticksOf(spec_.upper));
    slider_->setValue(ticksOf(state_.currentVisibleValue()));
    syncing_ = false;
}

}  // namespace quorvane
