#include "views/controls/readout_slider.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

namespace quorvane {

namespace {

// The numeric value interface is all Qt's Linux bridge passes on, so it
// carries the row's unit; the value text stays for bridges that read it.
class ReadoutSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit ReadoutSliderAccessible(ReadoutSlider* slider)
        : QAccessibleWidget(slider, QAccessible::Slider), slider_(slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return slider_->valueText();
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return slider_->spokenValue().current; }
    void setCurrentValue(const QVariant& value) override {
        bool isNumber = false;
        const double spoken = value.toDouble(&isNumber);
        if (!isNumber || !slider_->isEnabled())
            return;
        emit slider_->valueRequested(slider_->spokenValue().rowValue(spoken));
    }
    QVariant maximumValue() const override { return slider_->spokenValue().maximum; }
    QVariant minimumValue() const override { return slider_->spokenValue().minimum; }
    QVariant minimumStepSize() const override { return slider_->spokenValue().step; }

  private:
    ReadoutSlider* slider_;
};

QAccessibleInterface* readoutSliderAccessible(const QString&, QObject* object) {
    if (auto* slider = qobject_cast<ReadoutSlider*>(object))
        return new ReadoutSliderAccessible(slider);
    return nullptr;
}

}  // namespace

ReadoutSlider::ReadoutSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    // Qt keeps factories for the application's life; one is enough.
    static const bool installed = [] {
        QAccessible::installFactory(readoutSliderAccessible);
        return true;
    }();
    (void)installed;
    connect(this, &QAbstractSlider::actionTriggered, this, &ReadoutSlider::actionTaken);
}

void ReadoutSlider::actionTaken(int action) {
    if (action == SliderNoAction || isSliderDown())
        return;
    // A press that sets the thumb where it lands is the start of a drag:
    // the row takes the value at release.
    if (action == SliderMove && QGuiApplication::mouseButtons() != Qt::NoButton)
        return;
    // Qt has moved the position only; putting it back leaves the value (and
    // its announcement) to the row's showReading().
    const int requested = sliderPosition();
    setSliderPosition(value());
    emit stepRequested(requested);
}

void ReadoutSlider::showReading(int position, const QString& text, const SliderSpokenValue& value,
                                std::optional<int> thumb) {
    const bool readingChanged = text != valueText_ || !(value == spokenValue_);
    valueText_ = text;
    spokenValue_ = value;
    if (thumb == position)
        thumb.reset();
    if (thumb != thumb_) {
        thumb_ = thumb;
        update();
    }
    if (!isSliderDown() && position != this->value()) {
        // Moving the value is announced by Qt itself, after the new reading
        // is in place: that is the one announcement of this change.
        const QSignalBlocker quiet(this);
        setValue(position);
        return;
    }
    // While the user drags with tracking, Qt announces the value it is
    // about to take from the moved thumb.
    if (!readingChanged || (isSliderDown() && hasTracking() && sliderPosition() != this->value()))
        return;
    QAccessibleValueChangeEvent announcement(this, value.current);
    QAccessible::updateAccessibility(&announcement);
}

void ReadoutSlider::initStyleOption(QStyleOptionSlider* option) const {
    QSlider::initStyleOption(option);
    // Where the row draws the thumb is where the pointer finds it: painting,
    // hovering and a press's hit test all read this option.
    if (option && thumb_)
        option->sliderPosition = *thumb_;
}

std::optional<int> ReadoutSlider::groovePressPosition(const QMouseEvent& event) const {
    if (event.button() != Qt::LeftButton || event.buttons() != Qt::LeftButton ||
        minimum() == maximum() || orientation() != Qt::Horizontal)
        return std::nullopt;
    // A style that already sets the thumb where the press lands does so itself.
    if (style()->styleHint(QStyle::SH_Slider_AbsoluteSetButtons, nullptr, this) & Qt::LeftButton)
        return std::nullopt;
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QPoint at = event.position().toPoint();
    if (style()->hitTestComplexControl(QStyle::CC_Slider, &option, at, this) !=
        QStyle::SC_SliderGroove)
        return std::nullopt;
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    // The thumb's centre under the pointer, as a drag would put it.
    const int centre = handle.center().x() - handle.left();
    return QStyle::sliderValueFromPosition(minimum(), maximum(), at.x() - centre - groove.x(),
                                           groove.width() - handle.width(), option.upsideDown);
}

void ReadoutSlider::mousePressEvent(QMouseEvent* event) {
    const std::optional<int> pointed = groovePressPosition(*event);
    if (!pointed) {
        QSlider::mousePressEvent(event);
        return;
    }
    // The thumb is put under the pointer first, so Qt takes the press as a
    // press on it: the drag runs from there with the pointer on its centre.
    const std::optional<int> drawn = thumb_;
    thumb_ = *pointed;
    QSlider::mousePressEvent(event);
    if (!isSliderDown()) {
        thumb_ = drawn;
        update();
        return;
    }
    // The press moved the thumb: the row's draft follows, as for a drag.
    if (sliderPosition() != *pointed)
        setSliderPosition(*pointed);
    else
        emit sliderMoved(*pointed);
    update();
}

}  // namespace quorvane
