#include "models/presets/display_preset.hpp"

namespace quorvane {

namespace {

ColorAdjustment tuned(double softwareBrightness, double contrast, double redGain, double greenGain,
                      double blueGain, double warmth) {
    ColorAdjustment adjustment = ColorAdjustment::neutral();
    adjustment.softwareBrightness = softwareBrightness;
    adjustment.contrast = contrast;
    adjustment.redGain = redGain;
    adjustment.greenGain = greenGain;
    adjustment.blueGain = blueGain;
    adjustment.warmth = warmth;
    return adjustment;
}

std::vector<DisplayPreset> makeBuiltIns() {
    using Kind = DisplayPreset::Kind;
    return {
        {"neutral", "Neutral", ColorAdjustment::neutral(), Kind::builtIn},
        {"coding", "Coding", tuned(0.92, 1.0, 1.0, 1.0, 0.96, 0.12), Kind::builtIn},
        {"night", "Night", tuned(0.72, 0.95, 1.04, 0.98, 0.82, 0.55), Kind::builtIn},
        {"movie", "Movie", tuned(1.0, 1.14, 1.03, 1.0, 0.94, 0.2), Kind::builtIn},
        {"bright-room", "Bright Room", tuned(1.18, 1.04, 1.0, 1.0, 1.0, 0.0), Kind::builtIn},
    };
}

}  // namespace

const std::vector<DisplayPreset>& DisplayPreset::builtIns() {
    static const std::vector<DisplayPreset> presets = makeBuiltIns();
    return presets;
}

}  // namespace quorvane
