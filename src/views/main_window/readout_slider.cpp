#include "views/main_window/readout_slider.hpp"

#include <QAccessible>
#include <QAccessibleWidget>

namespace quorvane {

namespace {

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

    QVariant currentValue() const override { return slider_->value(); }
    void setCurrentValue(const QVariant& value) override { slider_->setValue(value.toInt()); }
    QVariant maximumValue() const override { return slider_->maximum(); }
    QVariant minimumValue() const override { return slider_->minimum(); }
    QVariant minimumStepSize() const override { return slider_->singleStep(); }

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

void ReadoutSlider::setValueText(const QString& text) {
    if (text == valueText_)
        return;
    valueText_ = text;
    QAccessibleValueChangeEvent announcement(this, value());
    QAccessible::updateAccessibility(&announcement);
}

}  // namespace quorvane
