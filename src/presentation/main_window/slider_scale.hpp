#pragma once

namespace quorvane {

// Maps a row's range of doubles onto the integer positions of a platform
// slider. One nudge step is 100 positions, so every multiple of the step
// (and every value a nudge can reach) has a position of its own, and a
// dragged value is resolved to a hundredth of a step.
class SliderScale {
  public:
    static constexpr int kPositionsPerStep = 100;

    SliderScale(double lower, double upper, double step);

    int maximumPosition() const { return maximumPosition_; }
    // A page (Page Up/Down): the whole number of
    // steps nearest a tenth of the range, at least one, so a page keeps the
    // value on the grid the nudges and arrow keys keep.
    int pagePositions() const;
    // The same page in the row's own unit (700 for 2700…9300 K by 100).
    double pageAmount() const;
    // The nearest position, clamped to the slider's ends.
    int position(double value) const;
    // The value of a position, clamped to the range and rounded to millionths.
    double value(int position) const;

  private:
    double lower_;
    double upper_;
    double step_;
    int maximumPosition_;
};

}  // namespace quorvane
