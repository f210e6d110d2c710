#pragma once

#include <optional>
#include <string>

#include "presentation/main_window/rgb_curve_channel.hpp"

namespace quorvane {

// The curve editor's view state and the rules of what it shows and writes.
//
// Dragging the control point only previews: the graph and the readout follow
// the dragged gamma while the display's values stay untouched. Releasing
// commits one edit (all three gammas at once on "RGB"). A preview is shown
// only while the channel it was made for is selected. The bound gammas are
// passed in on every question, so a change made elsewhere (an undo, a
// preset) shows at once unless a preview of the selected channel is pending.
class RGBCurveEditorModel {
  public:
    static constexpr double kMinimumInput = 0.08;
    static constexpr double kMaximumInput = 0.92;

    RGBCurveChannel selectedChannel() const { return selectedChannel_; }
    double controlInput() const { return controlInput_; }
    std::optional<double> previewGamma() const { return previewGamma_; }

    // Keeps the control input, so the point stays at the same input on the
    // newly selected channel's curve.
    void selectChannel(RGBCurveChannel channel) { selectedChannel_ = channel; }
    void preview(double input, double output);
    // Previews the point, then returns its edit and clears the preview.
    RGBCurveEdit commit(double input, double output);
    // The neutral gamma for the selected channel; the preview stays.
    RGBCurveEdit reset() const { return {selectedChannel_, 1.0}; }

    // The mean of the three on "RGB", else the channel's own gamma.
    double activeGamma(const RGBGammas& gammas) const;
    // The previewed gamma of the selected channel, else the active one.
    double displayedGamma(const RGBGammas& gammas) const;
    // Within a millionth of 1.0 (all three on "RGB"): reset is disabled.
    bool isSelectedChannelNeutral(const RGBGammas& gammas) const;

    // Readout: "1.00", the input and the point's output in whole percent.
    std::string gammaText(const RGBGammas& gammas) const;
    int xPercent() const;
    int yPercent(const RGBGammas& gammas) const;
    // "RGB 곡선", "빨강 곡선", ...
    std::string gammaPillLabel() const;
    std::string resetHelp() const;
    // "RGB 곡선 그래프": the graph's accessible name.
    std::string graphAccessibleName() const;

  private:
    RGBCurveChannel selectedChannel_ = RGBCurveChannel::rgb;
    double controlInput_ = 0.5;
    std::optional<double> previewGamma_;
    std::optional<RGBCurveChannel> previewChannel_;
};

}  // namespace quorvane
