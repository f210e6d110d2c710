#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvane {

// One display mode as the display service lists it.
struct DisplayModeDescription {
    std::int32_t ioDisplayModeID = 0;
    int width = 0;
    int height = 0;
    int pixelWidth = 0;
    int pixelHeight = 0;
    double refreshRate = 0;  // hertz; 0 when the display reports none

    bool operator==(const DisplayModeDescription&) const = default;
};

// One mode of a display as the rest of the program sees it.
struct DisplayModeSnapshot {
    std::string id;  // stable key, see modeKey()
    std::int32_t ioDisplayModeID = 0;
    int width = 0;
    int height = 0;
    int pixelWidth = 0;
    int pixelHeight = 0;
    double refreshRate = 0;
    bool isCurrent = false;

    bool operator==(const DisplayModeSnapshot&) const = default;

    static DisplayModeSnapshot make(const DisplayModeDescription& mode, bool isCurrent);

    // "<mode ID>-<w>x<h>-<pw>x<ph>-<rate %.3f>", e.g. 8-1920x1080-3840x2160-60.000.
    static std::string modeKey(const DisplayModeDescription& mode);

    // "1920×1080 · 3840×2160 px · 60 Hz"; the pixel piece only when it differs
    // from the point size, the rate piece only for a rate above 0.
    std::string label() const;
};

std::size_t hashValue(const DisplayModeSnapshot& mode);

}  // namespace quorvane
