#pragma once

#include <QSlider>

namespace quorvane {

// A horizontal slider that assistive technology reads by the row's readout
// ("1.37", "51%") instead of its integer position; the numeric value stays
// available to tools that set it.
class ReadoutSlider : public QSlider {
    Q_OBJECT

  public:
    explicit ReadoutSlider(QWidget* parent = nullptr);

    void setValueText(const QString& text);
    const QString& valueText() const { return valueText_; }

  private:
    QString valueText_;
};

}  // namespace quorvane
