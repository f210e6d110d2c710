#include "views/main_window/native_slider_row.hpp"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "presentation/controls/adjustment_nudge.hpp"
#include "views/controls/hardware_write_tag.hpp"
#include "views/controls/nudge_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/readout_label.hpp"
#include "views/design/theme.hpp"
#include "views/design/wheel_guard.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/main_window/readout_slider.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr double kMonitorStep = 0.01;
// The label column every row of a form keeps side by side, so that sliders
// under each other start at the same place; a longer title widens it.
constexpr double kLabelColumnWidth = 120.0;
// A page step (Page Up/Down, a click beside the thumb) is a tenth of the range.
constexpr int kPagesPerRange = 10;

// The title side of a row: the title line, then the subtitle. The title line
// unwrapped decides whether the row fits side by side; the subtitle wraps
// under it, so a long subtitle alone never stacks the row.
class SliderRowLabel : public QWidget {
  public:
    SliderRowLabel(Theme& theme, QHBoxLayout* firstLine, QWidget* parent)
        : QWidget(parent), theme_(theme), firstLine_(firstLine) {
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);
        column->addLayout(firstLine);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    }

    QSize sizeHint() const override {
        const int column = static_cast<int>(kLabelColumnWidth * theme_.scale());
        const int width = std::max(firstLine_->sizeHint().width(), column);
        return {width, layout()->heightForWidth(width)};
    }

  private:
    Theme& theme_;
    QHBoxLayout* firstLine_;
};

}  // namespace

NativeSliderRow::NativeSliderRow(Theme& theme, NativeSliderRowSpec spec, double value,
                                 const std::string& valueText, Write write, QWidget* parent)
    : NativeSliderRow(theme, std::move(spec), SliderRowKind::software, value, valueText,
                      std::move(write), parent) {}

NativeSliderRow::NativeSliderRow(Theme& theme, NativeSliderRowSpec spec, SliderRowKind kind,
                                 double value, const std::string& valueText, Write write,
                                 QWidget* parent)
    : QWidget(parent),
      theme_(theme),
      spec_(std::move(spec)),
      scale_(spec_.lower, spec_.upper, spec_.nudgeStep),
      model_(kind, spec_.lower, spec_.upper, spec_.nudgeStep, spec_.formatter, value),
      valueText_(valueText),
      write_(std::move(write)) {
    build(kind);
}

void NativeSliderRow::build(SliderRowKind kind) {
    auto* row = new FitLayout(this);
    row->setContentsMargins(0, 4, 0, 4);
    row->setSpacings(12, 6);
    row->setRowAlignment(Qt::AlignVCenter);

    auto* firstLine = new QHBoxLayout;
    firstLine->setSpacing(6);
    title_ = new WrappingLabel(toQString(spec_.title), this);
    firstLine->addWidget(title_);
    if (kind == SliderRowKind::monitor)
        firstLine->addWidget(new HardwareWriteTag(theme_, true, this), 0, Qt::AlignVCenter);
    firstLine->addStretch(1);
    auto* label = new SliderRowLabel(theme_, firstLine, this);
    label_ = label;
    if (spec_.subtitle) {
        subtitle_ = new WrappingLabel(toQString(*spec_.subtitle), label_);
        subtitle_->setSecondary(true);
        label_->layout()->addWidget(subtitle_);
    }
    row->addWidgetOnLine(label_, -1);

    content_ = new QWidget(this);
    auto* content = new QHBoxLayout(content_);
    content->setContentsMargins(0, 0, 0, 0);
    content->setSpacing(8);
    decrement_ = new NudgeButton(
        theme_, spec_.title, QuorvaneAdjustmentNudgeDirection::decrement, spec_.nudgeStep,
        [this] { finish(model_.nudgeDown()); }, content_);
    increment_ = new NudgeButton(
        theme_, spec_.title, QuorvaneAdjustmentNudgeDirection::increment, spec_.nudgeStep,
        [this] { finish(model_.nudgeUp()); }, content_);
    slider_ = new ReadoutSlider(content_);
    WheelGuard::install(slider_);
    slider_->setRange(0, scale_.maximumPosition());
    slider_->setSingleStep(SliderScale::kPositionsPerStep);
    slider_->setPageStep(
        std::max(SliderScale::kPositionsPerStep, scale_.maximumPosition() / kPagesPerRange));
    slider_->setAccessibleName(toQString(spec_.title));
    slider_->setAccessibleDescription(
        toQString(sliderAccessibilityHint(spec_.title, spec_.subtitle, kind)));
    slider_->setMinimumWidth(80);
    readout_ = new ReadoutLabel(content_);
    readout_->setForegroundRole(QPalette::PlaceholderText);
    content->addWidget(decrement_);
    content->addWidget(slider_, 1);
    content->addWidget(increment_);
    content->addWidget(readout_);
    row->addWidgetOnLine(content_, -1);

    connect(slider_, &QSlider::sliderPressed, this, [this] {
        model_.beginEditing();
        syncTexts();
    });
    connect(slider_, &QSlider::sliderMoved, this, [this](int position) {
        model_.moveDraft(scale_.value(position));
        syncTexts();
    });
    connect(slider_, &QSlider::sliderReleased, this, [this] {
        if (model_.isEditing())
            finish(model_.endEditing());
    });
    connect(slider_, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderNoAction || slider_->isSliderDown())
            return;
        // A move made by a pressed mouse button (a click that sets the thumb
        // where it lands) is the start of a drag; its release writes.
        if (action == QAbstractSlider::SliderMove &&
            QGuiApplication::mouseButtons() != Qt::NoButton)
            return;
        stepWithoutHold();
    });
    connect(&theme_, &Theme::changed, this, &NativeSliderRow::restyle);
    restyle();
    syncThumb();
    syncTexts();
}

void NativeSliderRow::setValue(double value, const std::string& valueText) {
    model_.setOutsideValue(value);
    valueText_ = valueText;
    syncThumb();
    syncTexts();
}

void NativeSliderRow::finish(double value) {
    if (write_)
        write_(value);
    syncTexts();
}

void NativeSliderRow::stepWithoutHold() {
    // A key, page or wheel step is a whole edit: the slider has already moved
    // its position, which becomes the one value written.
    model_.beginEditing();
    model_.moveDraft(scale_.value(slider_->sliderPosition()));
    finish(model_.endEditing());
    // The slider applies the step after this returns; put the thumb back on
    // the owner's value then (the owner's update moves it where it belongs).
    QMetaObject::invokeMethod(this, &NativeSliderRow::syncThumb, Qt::QueuedConnection);
}

void NativeSliderRow::syncThumb() {
    if (model_.isEditing() || slider_->isSliderDown())
        return;
    const int position = scale_.position(model_.thumbValue());
    if (slider_->value() == position && slider_->sliderPosition() == position)
        return;
    const QSignalBlocker quiet(slider_);
    slider_->setValue(position);
    slider_->setSliderPosition(position);
}

void NativeSliderRow::syncTexts() {
    const QString text = toQString(model_.displayedValueText(valueText_));
    if (readout_->text() != text)
        readout_->setText(text);
    slider_->setValueText(text);
    decrement_->setEnabled(model_.canDecrement());
    increment_->setEnabled(model_.canIncrement());
}

void NativeSliderRow::restyle() {
    title_->setFont(theme_.baseFont());
    if (subtitle_)
        subtitle_->setFont(theme_.font(QuorvaneFontStyle::caption));
    readout_->setFont(theme_.baseFont());
    readout_->setMinimumWidth(kSliderReadoutMinimumWidth[theme_.textSize()]);
}

NativeDDCSliderRow::NativeDDCSliderRow(Theme& theme, std::string title,
                                       std::optional<std::string> subtitle, double value,
                                       const std::string& valueText, double lower, double upper,
                                       Write onCommit, QWidget* parent)
    : NativeSliderRow(theme,
                      NativeSliderRowSpec{std::move(title), std::move(subtitle), lower, upper,
                                          kMonitorStep, QuorvaneAdjustmentNudge::percentText},
                      SliderRowKind::monitor, value, valueText, std::move(onCommit), parent) {}

}  // namespace quorvane
