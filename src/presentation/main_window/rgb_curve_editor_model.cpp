#include "presentation/main_window/rgb_curve_editor_model.hpp"

#include <algorithm>
#include <cmath>

#include "models/coding/number_format.hpp"
#include "models/color/quorvane_rgb_curve_coordinate.hpp"
#include "presentation/main_window/rgb_curve_graph_geometry.hpp"

namespace quorvane {

namespace {

constexpr double kNeutralTolerance = 0.000001;

bool isNeutral(double gamma) {
    return std::abs(gamma - 1.0) < kNeutralTolerance;
}

}  // namespace

void RGBCurveEditorModel::preview(double input, double output) {
    // A NaN input would pass std::clamp unchanged; keep the point where it was.
    if (!std::isnan(input))
        controlInput_ = std::clamp(input, kMinimumInput, kMaximumInput);
    previewChannel_ = selectedChannel_;
    previewGamma_ = QuorvaneRGBCurveCoordinate::gamma(output, controlInput_);
}

RGBCurveEdit RGBCurveEditorModel::commit(double input, double output) {
    preview(input, output);
    const RGBCurveEdit edit{selectedChannel_, previewGamma_.value_or(1.0)};
    previewGamma_.reset();
    previewChannel_.reset();
    return edit;
}

double RGBCurveEditorModel::activeGamma(const RGBGammas& gammas) const {
    switch (selectedChannel_) {
        case RGBCurveChannel::rgb:
            return (gammas.red + gammas.green + gammas.blue) / 3.0;
        case RGBCurveChannel::red:
            return gammas.red;
        case RGBCurveChannel::green:
            return gammas.green;
        case RGBCurveChannel::blue:
            return gammas.blue;
    }
    return 1.0;
}

double RGBCurveEditorModel::displayedGamma(const RGBGammas& gammas) const {
    if (previewGamma_ && previewChannel_ == selectedChannel_)
        return *previewGamma_;
    return activeGamma(gammas);
}

bool RGBCurveEditorModel::isSelectedChannelNeutral(const RGBGammas& gammas) const {
    if (selectedChannel_ == RGBCurveChannel::rgb)
        return isNeutral(gammas.red) && isNeutral(gammas.green) && isNeutral(gammas.blue);
    return isNeutral(activeGamma(gammas));
}

std::string RGBCurveEditorModel::gammaText(const RGBGammas& gammas) const {
    return formatFixed(displayedGamma(gammas), 2);
}

int RGBCurveEditorModel::xPercent() const {
    return static_cast<int>(std::lround(controlInput_ * 100.0));
}

int RGBCurveEditorModel::yPercent(const RGBGammas& gammas) const {
    const double output = RGBCurveGraphGeometry::curveOutput(displayedGamma(gammas), controlInput_);
    return static_cast<int>(std::lround(output * 100.0));
}

std::string RGBCurveEditorModel::gammaPillLabel() const {
    return std::string(channelTitle(selectedChannel_)) + " 곡선";
}

std::string RGBCurveEditorModel::resetHelp() const {
    return std::string(channelTitle(selectedChannel_)) + " 곡선을 기본 대각선으로 되돌립니다.";
}

std::string RGBCurveEditorModel::graphAccessibleName() const {
    return std::string(channelTitle(selectedChannel_)) + " 곡선 그래프";
}

}  // namespace quorvane
