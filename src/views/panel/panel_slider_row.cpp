#include "views/panel/panel_slider_row.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

#include "presentation/design/surface_look.hpp"
#include "presentation/main_window/slider_row_model.hpp"
#include "views/access/spoken_text.hpp"
#include "views/controls/hardware_write_tag.hpp"
#include "views/controls/nudge_button.hpp"
#include "views/controls/readout_slider.hpp"
#include "views/design/baseline_row_layout.hpp"
#include "views/design/readout_label.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/wheel_guard.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

namespace {

PanelSliderRowState::PendingRule pendingRule(const PanelSliderRowContent& content) {
    return content.commitsToMonitor ? PanelSliderRowState::PendingRule::nudgesAndDrags
                                    : PanelSliderRowState::PendingRule::nudgesOnly;
}

}  // namespace

PanelSliderRow::PanelSliderRow(Theme& theme, const PanelSliderRowContent& content, Write write,
                               QWidget* parent)
    : QWidget(parent),
      theme_(theme),
      content_(content),
      state_(content.value, content.lower, content.upper, content.nudgeStep, pendingRule(content)),
      scale_(content.scale()),
      write_(std::move(write)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(6);

    // The title, the tag and the value stand on one baseline.
    auto* header = new BaselineRowLayout;
    header->setSpacing(8);
    icon_ = new SymbolImage(content.icon, this);
    title_ = new WrappingLabel(QString(), this);
    tag_ = new HardwareWriteTag(theme, true, this);
    value_ = new ReadoutLabel(this);
    header->addWidget(icon_, 0, Qt::AlignTop);
    header->addWidget(title_, 0, Qt::AlignTop);
    header->addWidget(tag_, 0, Qt::AlignTop);
    header->addStretch(1);
    header->addWidget(value_, 0, Qt::AlignTop);
    layout->addLayout(header);

    auto* controls = new QHBoxLayout;
    controls->setSpacing(8);
    using Direction = QuorvaneAdjustmentNudgeDirection;
    decrement_ = new NudgeButton(
        theme, content.title, Direction::decrement, content.nudgeStep,
        [this] { nudge(Direction::decrement); }, this);
    increment_ = new NudgeButton(
        theme, content.title, Direction::increment, content.nudgeStep,
        [this] { nudge(Direction::increment); }, this);
    slider_ = new ReadoutSlider(this);
    // A wheel turned over a slider the user never picked scrolls the panel
    // instead of changing the screen.
    WheelGuard::install(slider_);
    slider_->setSingleStep(SliderScale::kPositionsPerStep);
    controls->addWidget(decrement_);
    controls->addWidget(slider_, 1);
    controls->addWidget(increment_);
    layout->addLayout(controls);

    connect(slider_, &QSlider::sliderPressed, this, &PanelSliderRow::pressed);
    connect(slider_, &QSlider::sliderMoved, this, &PanelSliderRow::moved);
    connect(slider_, &QSlider::sliderReleased, this, &PanelSliderRow::released);
    // A key, page or wheel step, or a value set by assistive technology, is
    // a whole edit of its own, as a nudge is.
    connect(slider_, &ReadoutSlider::stepRequested, this,
            [this](int position) { stepWithoutHold(scale_.value(position)); });
    connect(slider_, &ReadoutSlider::valueRequested, this,
            [this](double value) { stepWithoutHold(scale_.value(scale_.position(value))); });
    connect(&theme_, &Theme::changed, this, &PanelSliderRow::restyle);
    restyle();
    setContent(content);
}

void PanelSliderRow::restyle() {
    const QFont title = theme_.font(QuorvaneFontStyle::body, QFont::DemiBold);
    title_->setFont(title);
    icon_->setFont(title);
    icon_->setColor(theme_.color(ColorRole::accent));
    value_->setFont(theme_.font(QuorvaneFontStyle::body));
    value_->setMinimumWidth(kSliderReadoutMinimumWidth[theme_.textSize()]);
    QPalette palette = value_->palette();
    palette.setColor(QPalette::WindowText, theme_.color(ColorRole::secondary));
    value_->setPalette(palette);
    update();
}

void PanelSliderRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(theme_.color(ColorRole::surfaceBorder), 1));
    painter.setBrush(theme_.color(kPanelSliderRowFill));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
}

void PanelSliderRow::setContent(const PanelSliderRowContent& content) {
    content_ = content;
    scale_ = content.scale();
    // Page Up/Down moves by the same share of the range in every window.
    slider_->setRange(0, scale_.maximumPosition());
    slider_->setPageStep(scale_.pagePositions());
    title_->setText(QString::fromStdString(content.title));
    icon_->setSystemName(content.icon);
    tag_->setVisible(content.showsHardwareWriteTag);
    setSpokenName(slider_, QString::fromStdString(content.title));
    setSpokenDescription(slider_, QString::fromStdString(content.accessibilityHint()));
    state_.ownerValueChanged(content.value);
    showState();
}

void PanelSliderRow::pressed() {
    state_.beginEditing();
    showState();
}

void PanelSliderRow::moved(int position) {
    if (!state_.isEditing())
        return;
    state_.moveThumb(scale_.value(position));
    showState();
}

void PanelSliderRow::released() {
    if (!state_.isEditing())
        return;
    const auto value = state_.endEditing();
    showState();
    if (value)
        send(*value);
}

void PanelSliderRow::stepWithoutHold(double value) {
    if (slider_->isSliderDown() || state_.isEditing())
        return;
    const double written = state_.stepWithoutHold(value);
    showState();
    send(written);
}

void PanelSliderRow::nudge(QuorvaneAdjustmentNudgeDirection direction) {
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
    const std::string shown =
        formatted ? panelFormattedValue(content_.format, *formatted) : content_.valueText;
    const QString text = QString::fromStdString(shown);
    value_->setText(text);
    // Assistive technology reads the row's value ("60%", "6500K"), not the
    // slider's position; keys step from that value, while the thumb is drawn
    // on the owner's value until the owner takes a pending one.
    slider_->showReading(
        scale_.position(state_.currentVisibleValue()), text,
        SliderSpokenValue::of(content_.format, state_.currentVisibleValue(), content_.lower,
                              content_.upper, content_.nudgeStep, shown),
        scale_.position(state_.drawnThumbValue()));
    decrement_->setEnabled(state_.canDecrement());
    increment_->setEnabled(state_.canIncrement());
}

}  // namespace quorvane
