#pragma once

#include <QSlider>
#include <optional>

#include "presentation/main_window/slider_spoken_value.hpp"

namespace quorvane {

// A horizontal slider that assistive technology reads in its row's own unit:
// the value text is the row's readout ("1.37", "51%", "6500K") and the
// numeric value, range and step are the readout's number and the row's range
// in that unit (51 within 5…100), never the slider's integer position.
//
// The row decides where the thumb rests: a key, page or wheel step is handed
// to it as stepRequested() with the position asked for, and
// the thumb stays put until the row shows the result with showReading(). A value
// set by assistive technology arrives as valueRequested(). Listeners hear one
// value change per change the row shows, never one for the thumb and another
// for the text. The slider's value (what keys step from) stands with the
// readout; the thumb may be drawn elsewhere at rest: a monitor row keeps it
// on the monitor's value until the monitor takes the one committed. The
// pointer takes the thumb where it is drawn: a press on it starts a drag
// from there, and a press on the groove beside it takes the thumb to the
// pointer and drags it from there (the release gives the row the value
// where it was let go), never a page step from a value the user cannot see.
class ReadoutSlider : public QSlider {
    Q_OBJECT

  public:
    explicit ReadoutSlider(QWidget* parent = nullptr);

    // What the row shows now: the readout and, unless the user holds the
    // thumb, where the value stands and where the thumb is drawn (with the
    // value when `thumb` is not given). Moving only the drawn thumb is not
    // announced: what is heard has not changed.
    void showReading(int position, const QString& text, const SliderSpokenValue& value,
                     std::optional<int> thumb = std::nullopt);
    const QString& valueText() const { return valueText_; }
    const SliderSpokenValue& spokenValue() const { return spokenValue_; }

  signals:
    // A step taken while the thumb is not held (arrow or page key, Home/End,
    // the wheel): the position it would reach.
    void stepRequested(int position);
    // Assistive technology asked for this row value (already in the row's
    // range). Not sent while the slider is disabled.
    void valueRequested(double value);

  protected:
    void initStyleOption(QStyleOptionSlider* option) const override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void actionTaken(int action);
    // The position a left press on the groove takes the thumb to; none for a
    // press on the drawn thumb or outside the groove.
    std::optional<int> groovePressPosition(const QMouseEvent& event) const;

    QString valueText_;
    SliderSpokenValue spokenValue_;
    std::optional<int> thumb_;
};

}  // namespace quorvane
