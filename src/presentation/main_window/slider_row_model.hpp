#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "presentation/design/text_size_table.hpp"
#include "presentation/panel/panel_slider_row_state.hpp"

namespace quorvane {

// The two slider rows of the detail form: a software colour value written
// through the store, and a monitor value handed to a commit closure that
// queues a monitor write (the monitor reports the new value later).
enum class SliderRowKind { software, monitor };

// What a slider row shows and writes, apart from drawing: the panel's row
// rules (PanelSliderRowState) with the row's own readout format.
//
// While the user drags only the draft moves; the outside value is written
// once, when the drag ends on another value than it was taken at (a click
// on the thumb writes nothing), and a nudge or a key step writes at once.
// After a nudge or a key step, and after a monitor row's release, the row
// remembers the value it wrote (pending) and shows it in the readout until
// the outside value really changes; the thumb rests on the outside value
// meanwhile. A change of the outside value never moves a thumb being
// dragged; the release then writes the dragged value over it.
class SliderRowModel {
  public:
    using Formatter = std::function<std::string(double)>;

    SliderRowModel(SliderRowKind kind, double lower, double upper, double nudgeStep,
                   Formatter formatter, double outsideValue);

    // A drag (or a click on the thumb) begins: the draft starts where the
    // row's value is visible, and the thumb stays drawn where the user took
    // it (on the outside value while a commit is pending) until it moves.
    void beginEditing();
    // The thumb moved while held (or a press on the groove took it there);
    // nothing is written.
    void moveDraft(double value);
    // The drag ended: the value to write (software) or commit (monitor);
    // none when the thumb was let go on the value it was taken at.
    std::optional<double> endEditing();
    // One step down or up, clamped to the range and rounded to millionths;
    // starts from the draft during a drag. The value to write or commit.
    double nudgeDown();
    double nudgeUp();
    // A key, page or wheel step, or a value set by assistive technology,
    // taken while not dragging: a whole edit whose value (clamped to the
    // range) is written and shows, as a nudged one does, until the caller
    // publishes a change.
    double step(double value);
    // The value as the caller now publishes it. Only a real change resyncs:
    // the draft follows when not dragging and the pending value is dropped.
    void setOutsideValue(double value);

    bool isEditing() const { return state_.isEditing(); }
    double outsideValue() const { return state_.ownerValue(); }
    std::optional<double> pendingValue() const { return state_.pendingValue(); }
    // Where the slider's value stands: with the readout, so keys step from
    // the value a screen reader hears.
    double thumbValue() const { return state_.currentVisibleValue(); }
    // Where the thumb is drawn, and so where a pointer takes it: the outside
    // value at rest (a pending value shows in the readout and is heard, but
    // the thumb waits for the caller to publish it); while held, where it was
    // taken until it moves, then the draft.
    double drawnThumbValue() const { return state_.drawnThumbValue(); }
    // The draft while dragging, else the pending value, else the outside value.
    double currentVisibleValue() const { return state_.currentVisibleValue(); }
    // The formatted draft or pending value; else the caller's own text.
    std::string displayedValueText(std::string_view valueText) const;
    bool canDecrement() const { return state_.canDecrement(); }
    bool canIncrement() const { return state_.canIncrement(); }

    double lower() const { return state_.lower(); }
    double upper() const { return state_.upper(); }
    double nudgeStep() const { return state_.nudgeStep(); }

  private:
    double nudged(QuorvaneAdjustmentNudgeDirection direction);

    Formatter formatter_;
    PanelSliderRowState state_;
};

// The slider's spoken hint: "<subtitle>. " when there is one, then how to
// adjust the title; the monitor row adds that the monitor takes the value.
std::string sliderAccessibilityHint(std::string_view title,
                                    const std::optional<std::string>& subtitle, SliderRowKind kind);

// "%.2f": the software row's default readout of drafts and pending values.
std::string defaultSliderValueText(double value);

// Minimum width of the readout column, in points, so that it keeps its place
// as the digits change.
inline constexpr TextSizeTable<int> kSliderReadoutMinimumWidth{{52, 60, 70, 84}};

}  // namespace quorvane
