#include "presentation/shell/window_output.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quorvane {

namespace {

long long sharedArea(ScreenRect a, ScreenRect b) {
    const int width = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const int height = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return width > 0 && height > 0 ? static_cast<long long>(width) * height : 0;
}

// How far apart two rectangles stand (squared), 0 when they touch.
long long gapBetween(ScreenRect a, ScreenRect b) {
    const long long dx = std::max({0, b.x - (a.x + a.width), a.x - (b.x + b.width)});
    const long long dy = std::max({0, b.y - (a.y + a.height), a.y - (b.y + b.height)});
    return dx * dx + dy * dy;
}

int clampStart(int start, int length, int areaStart, int areaLength) {
    return std::clamp(start, areaStart, std::max(areaStart, areaStart + areaLength - length));
}

}  // namespace

bool standsInside(ScreenRect frame, ScreenRect area) {
    return frame.x >= area.x && frame.y >= area.y && frame.x + frame.width <= area.x + area.width &&
           frame.y + frame.height <= area.y + area.height;
}

std::optional<std::size_t> homeOutput(ScreenRect frame, const std::vector<ScreenRect>& outputs,
                                      std::size_t primary) {
    if (outputs.empty())
        return std::nullopt;
    std::size_t best = primary < outputs.size() ? primary : 0;
    long long bestShared = sharedArea(frame, outputs[best]);
    long long bestGap = gapBetween(frame, outputs[best]);
    for (std::size_t index = 0; index < outputs.size(); ++index) {
        const long long shared = sharedArea(frame, outputs[index]);
        const long long gap = gapBetween(frame, outputs[index]);
        if (shared > bestShared || (bestShared == 0 && shared == 0 && gap < bestGap)) {
            best = index;
            bestShared = shared;
            bestGap = gap;
        }
    }
    return best;
}

ScreenRect wholePixelArea(ScreenRect area, double scale) {
    if (std::abs(scale - std::round(scale)) < 1e-9 || area.width <= 2 || area.height <= 2)
        return area;
    return {area.x + 1, area.y + 1, area.width - 2, area.height - 2};
}

ScreenRect openingFrame(FrameSize frame, std::optional<ScreenRect> userPlaced, ScreenRect opener,
                        ScreenRect area) {
    const int width = std::min(frame.width, area.width);
    const int height = std::min(frame.height, area.height);
    const int x = userPlaced ? userPlaced->x : opener.x + (opener.width - width) / 2;
    const int y = userPlaced ? userPlaced->y : opener.y + (opener.height - height) / 2;
    return {clampStart(x, width, area.x, area.width), clampStart(y, height, area.y, area.height),
            width, height};
}

void UserPlacement::placed(ScreenRect inside, bool opening) {
    placed_ = inside;
    if (opening) {
        movedThisOpening_ = false;
        placedForOpening_ = true;
    }
}

void UserPlacement::shown() {
    placedByWindowManager_ = !placedForOpening_;
    placedForOpening_ = false;
    if (placedByWindowManager_)
        movedThisOpening_ = false;
}

void UserPlacement::mapped(Moment at, ScreenRect standing) {
    mappedAt_ = at;
    if (!placedByWindowManager_)
        return;
    placed_ = standing;
    placedByWindowManager_ = false;
}

int UserPlacement::tolerance(Moment at, double scale) const {
    if (at - mappedAt_ >= kSettling || scale <= 0)
        return 1;
    return std::max(1, static_cast<int>(std::ceil(kWindowManagerNudge / scale - 1e-9)));
}

bool UserPlacement::leavesProgramPlace(ScreenRect inside, Moment at, double scale) const {
    if (!placed_ || placedByWindowManager_)
        return false;
    const int allowed = tolerance(at, scale);
    return std::abs(inside.x - placed_->x) > allowed || std::abs(inside.y - placed_->y) > allowed;
}

bool UserPlacement::passingPlace(ScreenRect told, std::optional<ScreenRect> standing, Moment at,
                                 double scale) const {
    if (!standing || !leavesProgramPlace(told, at, scale))
        return false;
    return !leavesProgramPlace({standing->x, standing->y, told.width, told.height}, at, scale);
}

bool UserPlacement::reported(ScreenRect inside, ScreenRect frame, Moment at, double scale) {
    if (!placed_ || placedByWindowManager_) {
        placed_ = inside;
        placedByWindowManager_ = false;
        return false;
    }
    if (!leavesProgramPlace(inside, at, scale))
        return false;
    placed_ = inside;
    movedThisOpening_ = true;
    userPlaced_ = frame;
    return true;
}

void UserPlacement::closed(ScreenRect frame) {
    closedAt_ = frame;
    if (userPlaced_)
        userPlaced_ = frame;
}

}  // namespace quorvane
