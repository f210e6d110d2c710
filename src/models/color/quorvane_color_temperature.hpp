#pragma once

#include <string>
#include <vector>

namespace quorvane {

// The one warmth-kelvin scale of the program: warmth -1...1 is 9300...2700 K
// with 6500 K at 0. The two spans differ (2800 K cool, 3800 K warm).
struct QuorvaneColorTemperature {
    struct Preset {
        std::string id;
        std::string label;
        double kelvin = 0;

        bool operator==(const Preset&) const = default;
    };

    // warm-evening 3000 K, daylight 6500 K, cool-focus 9300 K.
    static const std::vector<Preset>& presets();

    // Unrounded kelvin of a warmth (clamped to -1...1 first).
    static double kelvin(double warmth);
    // Warmth of a kelvin value (clamped to 2700...9300 first).
    static double warmth(double kelvin);
    // The warmth's kelvin as kelvinText writes it: "6500K".
    static std::string displayText(double warmth);
    // Kelvin clamped to 2700...9300, rounded to whole hundreds (halves away
    // from zero) and followed by "K": 6549.9 is "6500K", 6550 is "6600K".
    static std::string kelvinText(double kelvin);
};

}  // namespace quorvane
