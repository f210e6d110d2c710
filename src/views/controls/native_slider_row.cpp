#include "views/controls/native_slider_row.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <optional>

#include "presentation/controls/adjustment_nudge.hpp"
#include "presentation/main_window/slider_row_columns.hpp"
#include "views/access/spoken_text.hpp"
#include "views/controls/hardware_write_tag.hpp"
#include "views/controls/nudge_button.hpp"
#include "views/controls/readout_slider.hpp"
#include "views/controls/slider_row_group.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/readout_label.hpp"
#include "views/design/theme.hpp"
#include "views/design/wheel_guard.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr double kMonitorStep = 0.01;
// Room above and below a row.
constexpr int kRowInset = 4;

// The title side of a row: the title line, then the subtitle under it.
class SliderRowLabel : public QWidget {
  public:
    SliderRowLabel(QWidget* firstLine, QWidget* parent) : QWidget(parent) {
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);
        column->addWidget(firstLine);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    }
};

// Label and controls side by side in the column SliderRowColumns gives the
// row's width (the title wraps inside it), both centred on the row; or the
// label above the controls when the row is too narrow for that.
class LabelledContentLayout : public QLayout {
  public:
    using LabelWidth = std::function<std::optional<int>(int rowWidth)>;

    LabelledContentLayout(QWidget* parent, LabelWidth labelWidth)
        : QLayout(parent), labelWidth_(std::move(labelWidth)) {
        setContentsMargins(0, kRowInset, 0, kRowInset);
    }
    ~LabelledContentLayout() override {
        delete label_;
        delete content_;
    }

    void setLabel(QWidget* widget) { label_ = adopt(widget); }
    void setContent(QWidget* widget) { content_ = adopt(widget); }

    void addItem(QLayoutItem* item) override { delete item; }
    int count() const override { return (label_ ? 1 : 0) + (content_ ? 1 : 0); }
    QLayoutItem* itemAt(int index) const override {
        if (index == 0)
            return label_ ? label_ : content_;
        return index == 1 && label_ ? content_ : nullptr;
    }
    QLayoutItem* takeAt(int) override { return nullptr; }

    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return place(QRect(0, 0, width, 0), false); }
    QSize sizeHint() const override {
        // The label's ideal column (what an unbounded row gives it) beside
        // the controls at their ideal width.
        constexpr int kUnbounded = 1 << 20;
        const int width = labelWidth_(kUnbounded).value_or(0) + SliderRowColumns::kLabelSpacing +
                          content_->sizeHint().width();
        return {width, heightForWidth(width)};
    }
    QSize minimumSize() const override { return {content_->minimumSize().width(), 0}; }
    void setGeometry(const QRect& rect) override {
        QLayout::setGeometry(rect);
        place(rect, true);
    }

  private:
    QWidgetItem* adopt(QWidget* widget) {
        addChildWidget(widget);
        invalidate();
        return new QWidgetItem(widget);
    }

    static int heightAt(QLayoutItem* item, int width) {
        return item->hasHeightForWidth() ? item->heightForWidth(width) : item->sizeHint().height();
    }

    int place(const QRect& rect, bool apply) const {
        const QRect inner = rect.marginsRemoved(contentsMargins());
        const auto column = labelWidth_(inner.width());
        int height = 0;
        if (column) {
            const int contentWidth = inner.width() - *column - SliderRowColumns::kLabelSpacing;
            const int labelHeight = heightAt(label_, *column);
            const int contentHeight = heightAt(content_, contentWidth);
            height = std::max(labelHeight, contentHeight);
            if (apply) {
                label_->setGeometry(
                    QRect(inner.x(), inner.y() + (height - labelHeight) / 2, *column, labelHeight));
                content_->setGeometry(QRect(inner.right() + 1 - contentWidth,
                                            inner.y() + (height - contentHeight) / 2, contentWidth,
                                            contentHeight));
            }
        } else {
            const int labelHeight = heightAt(label_, inner.width());
            const int contentHeight = heightAt(content_, inner.width());
            height = labelHeight + SliderRowColumns::kStackedSpacing + contentHeight;
            if (apply) {
                label_->setGeometry(QRect(inner.x(), inner.y(), inner.width(), labelHeight));
                content_->setGeometry(
                    QRect(inner.x(), inner.y() + labelHeight + SliderRowColumns::kStackedSpacing,
                          inner.width(), contentHeight));
            }
        }
        const QMargins margins = contentsMargins();
        return height + margins.top() + margins.bottom();
    }

    LabelWidth labelWidth_;
    QWidgetItem* label_ = nullptr;
    QWidgetItem* content_ = nullptr;
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
    auto* row = new LabelledContentLayout(this, [this](int width) {
        if (group_)
            return SliderRowColumns::labelWidth(width, theme_.textSize(), group_->needs());
        return SliderRowColumns::labelWidth(width, theme_.textSize());
    });

    title_ = new WrappingLabel(toQString(spec_.title), this);
    QWidget* firstLine = title_;
    if (kind == SliderRowKind::monitor) {
        // The tag follows the title on its first baseline while both fit the
        // column, else it goes under the title, which then wraps across the
        // whole column.
        auto* titleAndTag = new FitToWidth(6, 2, this);
        titleAndTag->setRowAlignment(Qt::AlignBaseline);
        titleAndTag->addWidget(title_);
        titleAndTag->addWidget(new HardwareWriteTag(theme_, true, titleAndTag));
        firstLine = titleAndTag;
    }
    firstLine_ = firstLine;
    label_ = new SliderRowLabel(firstLine, this);
    if (spec_.subtitle) {
        subtitle_ = new WrappingLabel(toQString(*spec_.subtitle), label_);
        subtitle_->setSecondary(true);
        label_->layout()->addWidget(subtitle_);
    }
    row->setLabel(label_);

    content_ = new QWidget(this);
    auto* content = new QHBoxLayout(content_);
    content->setContentsMargins(0, 0, 0, 0);
    content->setSpacing(SliderRowColumns::kControlSpacing);
    decrement_ = new NudgeButton(
        theme_, spec_.title, QuorvaneAdjustmentNudgeDirection::decrement, spec_.nudgeStep,
        [this] { finish(model_.nudgeDown()); }, content_);
    increment_ = new NudgeButton(
        theme_, spec_.title, QuorvaneAdjustmentNudgeDirection::increment, spec_.nudgeStep,
        [this] { finish(model_.nudgeUp()); }, content_);
    slider_ = new ReadoutSlider(content_);
    WheelGuard::install(slider_);
    slider_->setRange(0, scale_.maximumPosition());
    slider_->setValue(scale_.position(model_.thumbValue()));
    slider_->setSingleStep(SliderScale::kPositionsPerStep);
    slider_->setPageStep(scale_.pagePositions());
    setSpokenName(slider_, toQString(spec_.title));
    setSpokenDescription(slider_,
                         toQString(sliderAccessibilityHint(spec_.title, spec_.subtitle, kind)));
    slider_->setMinimumWidth(SliderRowColumns::kSliderMinimumWidth);
    readout_ = new ReadoutLabel(content_);
    readout_->setForegroundRole(QPalette::PlaceholderText);
    content->addWidget(decrement_);
    content->addWidget(slider_, 1);
    content->addWidget(increment_);
    content->addWidget(readout_);
    row->setContent(content_);

    connect(slider_, &QSlider::sliderPressed, this, [this] {
        model_.beginEditing();
        present();
    });
    connect(slider_, &QSlider::sliderMoved, this, [this](int position) {
        model_.moveDraft(scale_.value(position));
        present();
    });
    connect(slider_, &QSlider::sliderReleased, this, [this] {
        if (!model_.isEditing())
            return;
        if (const auto value = model_.endEditing())
            finish(*value);
        else
            present();
    });
    // A key, page or wheel step, or a value set by assistive technology, is
    // a whole edit of its own, as a nudge is.
    connect(slider_, &ReadoutSlider::stepRequested, this,
            [this](int position) { stepTo(scale_.value(position)); });
    connect(slider_, &ReadoutSlider::valueRequested, this,
            [this](double value) { stepTo(scale_.value(scale_.position(value))); });
    connect(&theme_, &Theme::changed, this, &NativeSliderRow::restyle);
    restyle();
    present();
}

void NativeSliderRow::joinColumn(SliderRowGroup* group) {
    group_ = group;
    if (group)
        group->add(this);
}

SliderRowColumns::LabelNeeds NativeSliderRow::labelNeeds() const {
    SliderRowColumns::LabelNeeds needs;
    needs.titleLine = firstLine_->sizeHint().width();
    needs.widest = needs.titleLine;
    if (subtitle_)
        needs.widest = std::max(needs.widest, subtitle_->sizeHint().width());
    return needs;
}

void NativeSliderRow::setValue(double value, const std::string& valueText) {
    model_.setOutsideValue(value);
    valueText_ = valueText;
    present();
}

void NativeSliderRow::finish(double value) {
    if (write_)
        write_(value);
    present();
}

void NativeSliderRow::stepTo(double value) {
    if (model_.isEditing() || slider_->isSliderDown())
        return;
    finish(model_.step(value));
}

void NativeSliderRow::present() {
    const std::string shown = model_.displayedValueText(valueText_);
    const QString text = toQString(shown);
    if (readout_->text() != text)
        readout_->setText(text);
    slider_->showReading(scale_.position(model_.thumbValue()), text,
                         SliderSpokenValue::of(spec_.unit, model_.currentVisibleValue(),
                                               spec_.lower, spec_.upper, spec_.nudgeStep, shown),
                         scale_.position(model_.drawnThumbValue()));
    decrement_->setEnabled(model_.canDecrement());
    increment_->setEnabled(model_.canIncrement());
}

void NativeSliderRow::restyle() {
    title_->setFont(theme_.baseFont());
    if (subtitle_)
        subtitle_->setFont(theme_.font(QuorvaneFontStyle::caption));
    readout_->setFont(theme_.baseFont());
    readout_->setMinimumWidth(kSliderReadoutMinimumWidth[theme_.textSize()]);
    // The new font changes what every label of the card needs.
    if (group_)
        group_->relayout();
}

NativeDDCSliderRow::NativeDDCSliderRow(Theme& theme, std::string title,
                                       std::optional<std::string> subtitle, double value,
                                       const std::string& valueText, double lower, double upper,
                                       Write onCommit, QWidget* parent)
    : NativeSliderRow(
          theme,
          NativeSliderRowSpec{std::move(title), std::move(subtitle), lower, upper, kMonitorStep,
                              QuorvaneAdjustmentNudge::percentText, PanelValueFormat::percent},
          SliderRowKind::monitor, value, valueText, std::move(onCommit), parent) {}

}  // namespace quorvane
