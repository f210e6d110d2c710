#include "presentation/shell/shell_frame_sizes.hpp"

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

struct FrameRule {
    int width;
    int heightCap;
    // Room left for the desktop's panels and the window frame.
    int screenMargin;
    int minimumHeight;
};

FrameRule menuPanelRule(QuorvaneTextSize textSize) {
    switch (textSize) {
        case QuorvaneTextSize::standard:
            return {350, 580, 96, 460};
        case QuorvaneTextSize::large:
            return {390, 650, 96, 460};
        case QuorvaneTextSize::extraLarge:
            return {440, 740, 96, 460};
        case QuorvaneTextSize::veryLarge:
            return {500, 820, 96, 460};
    }
    return {350, 580, 96, 460};
}

FrameRule settingsWindowRule(QuorvaneTextSize textSize) {
    switch (textSize) {
        case QuorvaneTextSize::standard:
            return {640, 640, 120, 540};
        case QuorvaneTextSize::large:
            return {700, 700, 120, 540};
        case QuorvaneTextSize::extraLarge:
            return {760, 760, 120, 540};
        case QuorvaneTextSize::veryLarge:
            return {840, 840, 120, 540};
    }
    return {640, 640, 120, 540};
}

FrameSize frameSize(const FrameRule& rule, std::optional<int> availableHeight) {
    const int screen = availableHeight.value_or(rule.heightCap);
    const int height =
        std::min(std::max(screen - rule.screenMargin, rule.minimumHeight), rule.heightCap);
    return {rule.width, height};
}

}  // namespace

FrameSize menuPanelFrameSize(QuorvaneTextSize textSize, std::optional<int> availableHeight) {
    return frameSize(menuPanelRule(textSize), availableHeight);
}

FrameSize settingsWindowFrameSize(QuorvaneTextSize textSize, std::optional<int> availableHeight) {
    return frameSize(settingsWindowRule(textSize), availableHeight);
}

bool surroundsItsWindow(FrameMargins margins) {
    return margins.left >= 0 && margins.top >= 0 && margins.right >= 0 && margins.bottom >= 0;
}

FrameSize withFrame(FrameSize inside, FrameMargins margins) {
    return {inside.width + margins.left + margins.right,
            inside.height + margins.top + margins.bottom};
}

FrameSize fittedInside(FrameSize inside, FrameMargins margins, FrameSize area) {
    const int roomWidth = std::max(area.width - margins.left - margins.right, 0);
    const int roomHeight = std::max(area.height - margins.top - margins.bottom, 0);
    return {std::min(inside.width, roomWidth), std::min(inside.height, roomHeight)};
}

namespace {

int devicePixels(int logical, double scale) {
    return static_cast<int>(std::floor(logical * scale + 0.5));
}

// The largest base no larger than the smallest size whose steps pass
// through the size.
int stepBase(int minimum, int size, double scale) {
    const int step = devicePixels(1, scale);
    if (size <= minimum || step <= 1)
        return minimum;
    const int wanted = devicePixels(size, scale) % step;
    for (int base = minimum; base >= std::max(0, minimum - 2 * step); --base)
        if (devicePixels(base, scale) % step == wanted)
            return base;
    return minimum;
}

}  // namespace

FrameSize sizeStepBase(FrameSize minimum, FrameSize size, double scale) {
    return {stepBase(minimum.width, size.width, scale),
            stepBase(minimum.height, size.height, scale)};
}

}  // namespace quorvane
