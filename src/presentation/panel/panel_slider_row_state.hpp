#pragma once

#include <optional>

#include "presentation/controls/adjustment_nudge.hpp"

namespace quorvane {

// What one slider row of the panel shows and when it writes, apart from the
// widget that draws it.
//
// The thumb moves only a draft: the owner's value is written once when a
// drag ends and once per nudge, never while the thumb moves; a press that
// lets go where it took the thumb writes nothing. A nudged value
// (and, for rows that commit to a monitor, a released drag too) stays shown
// as pending until the owner publishes a different value, so a write that
// the owner refuses keeps showing what the user asked for. Nudged values are
// clamped to the range and kept to six decimals, so 0.2 + 0.1 is exactly 0.3.
// At rest the thumb is drawn on the owner's value: a pending value shows in
// the readout and is heard, but the thumb waits for the owner to take it.
class PanelSliderRowState {
  public:
    // Whether a released drag stays shown until the owner's value changes
    // (monitor rows, whose reading comes back later) or only nudges do.
    enum class PendingRule { nudgesOnly, nudgesAndDrags };

    PanelSliderRowState(double ownerValue, double lower, double upper, double nudgeStep,
                        PendingRule rule = PendingRule::nudgesOnly);

    double lower() const { return lower_; }
    double upper() const { return upper_; }
    double nudgeStep() const { return nudgeStep_; }
    double ownerValue() const { return ownerValue_; }
    bool isEditing() const { return isEditing_; }
    double draftValue() const { return draftValue_; }
    const std::optional<double>& pendingValue() const { return pendingValue_; }

    // The draft while dragging, else the pending value, else the owner's.
    double currentVisibleValue() const;
    // The value whose formatted text replaces the owner's value text (the
    // draft while dragging, else the pending value); none at rest.
    std::optional<double> formattedValue() const;
    bool canDecrement() const { return lower_ < currentVisibleValue(); }
    bool canIncrement() const { return currentVisibleValue() < upper_; }

    // Where the thumb is drawn, and so where a pointer takes it: the owner's
    // value at rest; while held, where it was taken until it moves, then the
    // draft.
    double drawnThumbValue() const;

    // The thumb was pressed (a second press while held changes nothing).
    void beginEditing();
    // The thumb moved; the value is clamped to the range.
    void moveThumb(double value);
    // The thumb was released: the one value to write for the whole drag;
    // none when it was let go on the value it was taken at (a click on the
    // thumb, or a drag brought back), which changes nothing.
    std::optional<double> endEditing();
    // A keyboard or page step while the thumb is not held: a whole edit of
    // its own, so the returned value is written once; like a nudged value it
    // stays shown until the owner publishes a change.
    double stepWithoutHold(double value);
    // The value to write for one press of a nudge button; none when the
    // button is disabled (the value already sits at that end).
    std::optional<double> nudge(QuorvaneAdjustmentNudgeDirection direction);

    // The owner published its value. Only a value different from the last
    // one counts as a change: it clears the pending value and, when no drag
    // runs, moves the draft.
    void ownerValueChanged(double value);

    // Clamped to the range (the lower bound wins a NaN) and rounded to six
    // decimals, halves away from zero.
    double clampedAndRounded(double value) const;

  private:
    double clamped(double value) const;

    double lower_;
    double upper_;
    double nudgeStep_;
    PendingRule rule_;
    double ownerValue_;
    double draftValue_;
    bool isEditing_ = false;
    std::optional<double> pendingValue_;
    // The value the held thumb was taken at, and where it was drawn then
    // (until it moves).
    double takenValue_ = 0.0;
    std::optional<double> takenThumb_;
};

}  // namespace quorvane
