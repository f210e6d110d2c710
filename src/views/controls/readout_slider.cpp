#include "views/controls/readout_slider.hpp"

#include <QAccessible>
#include <QAccessibleWidget>

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
}

void ReadoutSlider::setReading(const QString& text, const SliderSpokenValue& value) {
    if (text == valueText_ && value == spokenValue_)
        return;
    valueText_ = text;
    spokenValue_ = value;
    QAccessibleValueChangeEvent announcement(this, value.current);
    QAccessible::updateAccessibility(&announcement);
}

}  // namespace quorvane
