#include "presentation/shell/work_area.hpp"

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

int at(const std::vector<long>& values, std::size_t index) {
    return static_cast<int>(std::max(values[index], 0L));
}

// Whether the span [first, last] shares a pixel with [start, start + length).
bool overlaps(int first, int last, int start, int length) {
    return first <= last && first < start + length && last >= start;
}

}  // namespace

WindowStrut windowStrut(const std::vector<long>& values, FrameSize screen) {
    if (values.size() >= 12)
        return {at(values, 0), at(values, 1), at(values, 2),  at(values, 3),
                at(values, 4), at(values, 5), at(values, 6),  at(values, 7),
                at(values, 8), at(values, 9), at(values, 10), at(values, 11)};
    if (values.size() == 4)
        return {at(values, 0),
                at(values, 1),
                at(values, 2),
                at(values, 3),
                0,
                screen.height - 1,
                0,
                screen.height - 1,
                0,
                screen.width - 1,
                0,
                screen.width - 1};
    return {};
}

ScreenRect outputWorkArea(ScreenRect output, FrameSize screen,
                          const std::vector<WindowStrut>& struts) {
    int left = output.x;
    int top = output.y;
    int right = output.x + output.width;
    int bottom = output.y + output.height;
    for (const auto& strut : struts) {
        if (strut.left > 0 && overlaps(strut.leftStartY, strut.leftEndY, output.y, output.height))
            left = std::max(left, strut.left);
        if (strut.right > 0 &&
            overlaps(strut.rightStartY, strut.rightEndY, output.y, output.height))
            right = std::min(right, screen.width - strut.right);
        if (strut.top > 0 && overlaps(strut.topStartX, strut.topEndX, output.x, output.width))
            top = std::max(top, strut.top);
        if (strut.bottom > 0 &&
            overlaps(strut.bottomStartX, strut.bottomEndX, output.x, output.width))
            bottom = std::min(bottom, screen.height - strut.bottom);
    }
    // Docks that leave nothing of the output leave it whole: a window must
    // stand somewhere.
    if (right <= left || bottom <= top)
        return output;
    return {left, top, right - left, bottom - top};
}

ScreenRect logicalPlace(ScreenRect nativePlace, ScreenRect nativeOutput, ScreenRect logicalOutput) {
    if (nativeOutput.width <= 0 || nativeOutput.height <= 0 || logicalOutput.width <= 0 ||
        logicalOutput.height <= 0)
        return nativePlace;
    const double scaleX = static_cast<double>(nativeOutput.width) / logicalOutput.width;
    const double scaleY = static_cast<double>(nativeOutput.height) / logicalOutput.height;
    return {
        logicalOutput.x + static_cast<int>(std::lround((nativePlace.x - nativeOutput.x) / scaleX)),
        logicalOutput.y + static_cast<int>(std::lround((nativePlace.y - nativeOutput.y) / scaleY)),
        static_cast<int>(std::lround(nativePlace.width / scaleX)),
        static_cast<int>(std::lround(nativePlace.height / scaleY))};
}

ScreenRect logicalWorkArea(ScreenRect nativeArea, ScreenRect nativeOutput,
                           ScreenRect logicalOutput) {
    if (nativeOutput.width <= 0 || nativeOutput.height <= 0 || logicalOutput.width <= 0 ||
        logicalOutput.height <= 0)
        return logicalOutput;
    const double scaleX = static_cast<double>(nativeOutput.width) / logicalOutput.width;
    const double scaleY = static_cast<double>(nativeOutput.height) / logicalOutput.height;
    const auto inwards = [](int from, int origin, double scale, bool up) {
        const double scaled = (from - origin) / scale;
        return static_cast<int>(up ? std::ceil(scaled - 1e-9) : std::floor(scaled + 1e-9));
    };
    const int left = inwards(nativeArea.x, nativeOutput.x, scaleX, true);
    const int top = inwards(nativeArea.y, nativeOutput.y, scaleY, true);
    const int right =
        std::min(inwards(nativeArea.x + nativeArea.width, nativeOutput.x, scaleX, false),
                 logicalOutput.width);
    const int bottom =
        std::min(inwards(nativeArea.y + nativeArea.height, nativeOutput.y, scaleY, false),
                 logicalOutput.height);
    return {logicalOutput.x + std::max(left, 0), logicalOutput.y + std::max(top, 0),
            right - std::max(left, 0), bottom - std::max(top, 0)};
}

}  // namespace quorvane
