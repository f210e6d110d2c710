#include "models/display/display_mode_snapshot.hpp"

#include <cmath>
#include <functional>

#include "models/coding/number_format.hpp"

namespace quorvane {

DisplayModeSnapshot DisplayModeSnapshot::make(const DisplayModeDescription& mode, bool isCurrent) {
    DisplayModeSnapshot snapshot;
    snapshot.id = modeKey(mode);
    snapshot.ioDisplayModeID = mode.ioDisplayModeID;
    snapshot.width = mode.width;
    snapshot.height = mode.height;
    snapshot.pixelWidth = mode.pixelWidth;
    snapshot.pixelHeight = mode.pixelHeight;
    snapshot.refreshRate = mode.refreshRate;
    snapshot.isCurrent = isCurrent;
    return snapshot;
}

std::string DisplayModeSnapshot::modeKey(const DisplayModeDescription& mode) {
    return formatDecimal(mode.ioDisplayModeID) + "-" + formatDecimal(mode.width) + "x" +
           formatDecimal(mode.height) + "-" + formatDecimal(mode.pixelWidth) + "x" +
           formatDecimal(mode.pixelHeight) + "-" + formatFixed(mode.refreshRate, 3);
}

std::string DisplayModeSnapshot::label() const {
    std::string text = formatDecimal(width) + "×" + formatDecimal(height);
    if (pixelWidth != width || pixelHeight != height) {
        text += " · " + formatDecimal(pixelWidth) + "×" + formatDecimal(pixelHeight) + " px";
    }
    if (refreshRate > 0) {
        // std::round rounds halves away from zero; formatting the rounded
        // double keeps absurd rates from overflowing an integer conversion.
        text += " · " + formatFixed(std::round(refreshRate), 0) + " Hz";
    }
    return text;
}

std::size_t hashValue(const DisplayModeSnapshot& mode) {
    std::size_t seed = std::hash<std::string>{}(mode.id);
    auto combine = [&seed](std::size_t h) {
        seed ^= h + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    };
    combine(std::hash<std::int32_t>{}(mode.ioDisplayModeID));
    combine(std::hash<int>{}(mode.width));
    combine(std::hash<int>{}(mode.height));
    combine(std::hash<int>{}(mode.pixelWidth));
    combine(std::hash<int>{}(mode.pixelHeight));
    combine(std::hash<double>{}(mode.refreshRate == 0 ? 0.0 : mode.refreshRate));
    combine(std::hash<bool>{}(mode.isCurrent));
    return seed;
}

}  // namespace quorvane
