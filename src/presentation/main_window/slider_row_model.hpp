#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// The two slider rows of the detail form: a software colour value written
// through the store, and a monitor value handed to a commit closure that
// queues a monitor write (the monitor reports the new value later).
enum class SliderRowKind { software, monitor };

// What a slider row shows and writes, apart from drawing.
//
// While the user drags only the draft moves; the outside value is written
// once, when the drag ends (also when nothing moved), and a nudge writes at
// once. After a nudge, and after a monitor row's release, the row remembers
// the value it wrote (pending) and shows it in the readout until the outside
// value really changes. The thumb always rests on the outside value when not
// dragged. A change of the outside value never moves a thumb being dragged;
// the release then writes the dragged value over it.
class SliderRowModel {
  public:
    using Formatter = std::function<std::string(double)>;

    SliderRowModel(SliderRowKind kind, double lower, double upper, double nudgeStep,
                   Formatter formatter, double outsideValue);

    // A drag (or a click on the thumb) begins: the draft starts where the
    // row's value is visible.
    void beginEditing();
    // The thumb moved while held; nothing is written.
    void moveDraft(double value);
    // The drag ended: the value to write (software) or commit (monitor).
    double endEditing();
    // One step down or up, clamped to the range and rounded to millionths;
    // starts from the draft during a drag. The value to write or commit.
    double nudgeDown();
    double nudgeUp();
    // The value as the caller now publishes it. Only a real change resyncs:
    // the draft follows when not dragging and the pending value is dropped.
    void setOutsideValue(double value);

    bool isEditing() const { return isEditing_; }
    double outsideValue() const { return outsideValue_; }
    std::optional<double> pendingValue() const { return pendingValue_; }
    // Where the slider's thumb sits.
    double thumbValue() const { return isEditing_ ? draftValue_ : outsideValue_; }
    // The draft while dragging, else the pending value, else the outside value.
    double currentVisibleValue() const;
    // The formatted draft or pending value; else the caller's own text.
    std::string displayedValueText(std::string_view valueText) const;
    bool canDecrement() const { return lower_ < currentVisibleValue(); }
    bool canIncrement() const { return currentVisibleValue() < upper_; }

    double lower() const { return lower_; }
    double upper() const { return upper_; }
    double nudgeStep() const { return nudgeStep_; }

  private:
    double nudged(double delta);

    SliderRowKind kind_;
    double lower_;
    double upper_;
    double nudgeStep_;
    Formatter formatter_;
    double outsideValue_;
    double draftValue_;
    bool isEditing_ = false;
    std::optional<double> pendingValue_;
};

// The slider's spoken hint: "<subtitle>. " when there is one, then how to
// adjust the title; the monitor row adds that the monitor takes the value.
std::string sliderAccessibilityHint(std::string_view title,
                                    const std::optional<std::string>& subtitle, SliderRowKind kind);

// "%.2f": the software row's default readout of drafts and pending values.
std::string defaultSliderValueText(double value);

// Minimum width of the readout column, in points, for the text size.
int sliderReadoutMinimumWidth(QuorvaneTextSize size);

}  // namespace quorvane
