#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "models/color/color_adjustment.hpp"

namespace quorvane {

// The channels of the curve editor, in the order of its picker: all three
// colour gammas together, or one of them.
enum class RGBCurveChannel { rgb, red, green, blue };

inline constexpr std::array<RGBCurveChannel, 4> kAllRGBCurveChannels = {
    RGBCurveChannel::rgb, RGBCurveChannel::red, RGBCurveChannel::green, RGBCurveChannel::blue};

std::string_view caseName(RGBCurveChannel channel);
std::optional<RGBCurveChannel> parseCaseName(std::string_view text, RGBCurveChannel*);
// "RGB", "빨강", "초록", "파랑".
std::string_view channelTitle(RGBCurveChannel channel);

// The three gammas of a display's adjustment, as the editor reads them.
struct RGBGammas {
    double red = 1.0;
    double green = 1.0;
    double blue = 1.0;

    bool operator==(const RGBGammas&) const = default;

    static RGBGammas of(const ColorAdjustment& adjustment);
};

// One write of the editor: a gamma for a channel. For `rgb` all three
// gammas take it in one change, so one undo puts all three back.
struct RGBCurveEdit {
    RGBCurveChannel channel = RGBCurveChannel::rgb;
    double gamma = 1.0;

    bool operator==(const RGBCurveEdit&) const = default;

    void applyTo(ColorAdjustment& adjustment) const;
};

}  // namespace quorvane
