#include "presentation/main_window/rgb_curve_channel.hpp"

namespace quorvane {

std::string_view caseName(RGBCurveChannel channel) {
    switch (channel) {
        case RGBCurveChannel::rgb:
            return "rgb";
        case RGBCurveChannel::red:
            return "red";
        case RGBCurveChannel::green:
            return "green";
        case RGBCurveChannel::blue:
            return "blue";
    }
    return "rgb";
}

std::optional<RGBCurveChannel> parseCaseName(std::string_view text, RGBCurveChannel*) {
    for (const auto channel : kAllRGBCurveChannels) {
        if (caseName(channel) == text)
            return channel;
    }
    return std::nullopt;
}

std::string_view channelTitle(RGBCurveChannel channel) {
    switch (channel) {
        case RGBCurveChannel::rgb:
            return "RGB";
        case RGBCurveChannel::red:
            return "빨강";
        case RGBCurveChannel::green:
            return "초록";
        case RGBCurveChannel::blue:
            return "파랑";
    }
    return "RGB";
}

RGBGammas RGBGammas::of(const ColorAdjustment& adjustment) {
    return {adjustment.redGamma, adjustment.greenGamma, adjustment.blueGamma};
}

void RGBCurveEdit::applyTo(ColorAdjustment& adjustment) const {
    switch (channel) {
        case RGBCurveChannel::rgb:
            adjustment.redGamma = gamma;
            adjustment.greenGamma = gamma;
            adjustment.blueGamma = gamma;
            return;
        case RGBCurveChannel::red:
            adjustment.redGamma = gamma;
            return;
        case RGBCurveChannel::green:
            adjustment.greenGamma = gamma;
            return;
        case RGBCurveChannel::blue:
            adjustment.blueGamma = gamma;
            return;
    }
}

}  // namespace quorvane
