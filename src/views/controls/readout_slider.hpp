#pragma once

#include <QSlider>

#include "presentation/main_window/slider_spoken_value.hpp"

namespace quorvane {

// A horizontal slider that assistive technology reads in its row's own unit:
// the value text is the row's readout ("1.37", "51%", "6500K") and the
// numeric value, range and step are the readout's number and the row's range
// in that unit (51 within 5…100), never the slider's integer position.
// A value set that way is handed to the row (valueRequested), which takes it
// as one keyboard step: written or committed once.
class ReadoutSlider : public QSlider {
    Q_OBJECT

  public:
    explicit ReadoutSlider(QWidget* parent = nullptr);

    // What the row shows now; listeners hear of a change.
    void setReading(const QString& text, const SliderSpokenValue& value);
    const QString& valueText() const { return valueText_; }
    const SliderSpokenValue& spokenValue() const { return spokenValue_; }

  signals:
    // Assistive technology asked for this row value (already in the row's
    // range). Not sent while the slider is disabled.
    void valueRequested(double value);

  private:
    QString valueText_;
    SliderSpokenValue spokenValue_;
};

}  // namespace quorvane
