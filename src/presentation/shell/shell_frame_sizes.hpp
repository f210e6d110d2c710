#pragma once

#include <optional>

#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// A top-level surface's size in device-independent pixels.
struct FrameSize {
    int width = 0;
    int height = 0;
    bool operator==(const FrameSize&) const = default;
};

// The main window's size when it first opens.
inline constexpr FrameSize kMainWindowDefaultSize{840, 620};

// The panel and the settings window take their width from the text size and
// their height from the primary screen's available height, between a floor
// and the text size's cap. Without a screen (none given) the height starts
// from the cap.
FrameSize menuPanelFrameSize(QuorvaneTextSize textSize, std::optional<int> availableHeight);
FrameSize settingsWindowFrameSize(QuorvaneTextSize textSize, std::optional<int> availableHeight);

}  // namespace quorvane
