#pragma once

#include <map>
#include <optional>
#include <vector>

#include "models/display/display_control_error.hpp"
#include "platform/interfaces/brightness_controlling.hpp"

namespace quorvane::testing {

// Answers brightness reads from a map and records which displays were asked.
struct RecordingBrightnessController : BrightnessControlling {
    std::map<DisplayID, double> values;
    std::vector<DisplayID> reads;

    std::optional<double> readBrightness(DisplayID displayID) override {
        reads.push_back(displayID);
        auto found = values.find(displayID);
        return found == values.end() ? std::nullopt : std::optional<double>(found->second);
    }
    void setBrightness(DisplayID displayID, double value) override {
        if (!values.contains(displayID)) {
            throw DisplayControlError::brightnessUnsupported();
        }
        values[displayID] = value;
    }
};

}  // namespace quorvane::testing
