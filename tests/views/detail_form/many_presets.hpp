#pragma once

#include <string>

#include "models/settings/quorvane_preferences.hpp"

namespace quorvane::testing {

// Saved settings with 200 user presets whose names are hard to lay out:
// 1,000 characters, two lines, right-to-left text.
inline QuorvanePreferences manyAwkwardPresets() {
    QuorvanePreferences preferences;
    const std::string longName(1000, 'x');
    for (int i = 0; i < 200; ++i) {
        DisplayPreset preset;
        preset.id = "preset-" + std::to_string(i);
        preset.name = i % 3 == 0   ? longName + std::to_string(i)
                      : i % 3 == 1 ? "첫 줄\n둘째 줄 " + std::to_string(i)
                                   : "שלום עולם " + std::to_string(i);
        preferences.customPresets.push_back(preset);
    }
    return preferences;
}

}  // namespace quorvane::testing
