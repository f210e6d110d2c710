#include "models/presets/display_scene.hpp"

namespace quorvane {

namespace {

ColorAdjustment tuned(double softwareBrightness, double contrast, double redGain, double greenGain,
                      double blueGain, double warmth) {
    ColorAdjustment adjustment;
    adjustment.softwareBrightness = softwareBrightness;
    adjustment.contrast = contrast;
    adjustment.gamma = 1.0;
    adjustment.redGamma = 1.0;
    adjustment.greenGamma = 1.0;
    adjustment.blueGamma = 1.0;
    adjustment.redGain = redGain;
    adjustment.greenGain = greenGain;
    adjustment.blueGain = blueGain;
    adjustment.warmth = warmth;
    adjustment.outputFilter = QuorvaneOutputFilter::none;
    return adjustment;
}

DisplayScene builtIn(std::string id, std::string name, ColorAdjustment fallback) {
    DisplayScene scene;
    scene.id = std::move(id);
    scene.name = std::move(name);
    scene.kind = DisplayScene::Kind::builtIn;
    scene.fallbackAdjustment = fallback;
    return scene;
}

std::vector<DisplayScene> makeBuiltIns() {
    return {
        builtIn("work", "Work", tuned(0.94, 1.02, 1.0, 1.0, 0.97, 0.1)),
        builtIn("night", "Night", tuned(0.7, 0.94, 1.04, 0.98, 0.82, 0.58)),
        // Written out rather than taken from the neutral state: the design
        // scene keeps these values even if the neutral state changes.
        builtIn("design", "Design", tuned(1.0, 1.0, 1.0, 1.0, 1.0, 0.0)),
        builtIn("meeting", "Meeting", tuned(1.12, 1.03, 1.0, 1.0, 0.98, 0.05)),
        builtIn("movie", "Movie", tuned(0.98, 1.16, 1.03, 1.0, 0.93, 0.22)),
    };
}

}  // namespace

const std::vector<DisplayScene>& DisplayScene::builtIns() {
    static const std::vector<DisplayScene> scenes = makeBuiltIns();
    return scenes;
}

std::optional<ColorAdjustment> DisplayScene::adjustment(std::string_view identityRawValue) const {
    auto entry = softwareAdjustmentsByDisplayIdentity.find(std::string(identityRawValue));
    if (entry != softwareAdjustmentsByDisplayIdentity.end())
        return entry->second;
    return fallbackAdjustment;
}

}  // namespace quorvane
