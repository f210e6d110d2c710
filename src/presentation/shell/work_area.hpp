#pragma once

#include <vector>

#include "presentation/shell/popup_placement.hpp"

namespace quorvane {

// The strips of the screen a dock keeps for itself (its strut): each side's
// depth from the screen's edge and the span along that edge it covers (first
// and last pixel), in device pixels. The screen is the one the outputs span.
struct WindowStrut {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    int leftStartY = 0;
    int leftEndY = 0;
    int rightStartY = 0;
    int rightEndY = 0;
    int topStartX = 0;
    int topEndX = 0;
    int bottomStartX = 0;
    int bottomEndX = 0;
    bool operator==(const WindowStrut&) const = default;
};

// A strut as a dock states it: twelve values (depths, then spans), or the
// older four depths alone, which cover their whole edges of a screen of
// `screen`'s size. Anything else reserves nothing.
WindowStrut windowStrut(const std::vector<long>& values, FrameSize screen);

// The part of an output the windows may take: the output less every strut
// whose strip reaches into it, each strip counted only along the span it
// covers (a dock on one output leaves its neighbours whole), on a screen of
// `screen`'s size. Device pixels.
ScreenRect outputWorkArea(ScreenRect output, FrameSize screen,
                          const std::vector<WindowStrut>& struts);

// A work area in device pixels as the toolkit's logical pixels count it on
// an output at `logicalOutput` that shows `nativeOutput`: measured from the
// output's corner and divided by the scale factor, rounded inwards so no
// device pixel of a dock is covered.
ScreenRect logicalWorkArea(ScreenRect nativeArea, ScreenRect nativeOutput,
                           ScreenRect logicalOutput);

// A window's place in device pixels as the toolkit's logical pixels count
// it on an output at `logicalOutput` that shows `nativeOutput`: measured
// from the output's corner, divided by the scale factor and rounded.
ScreenRect logicalPlace(ScreenRect nativePlace, ScreenRect nativeOutput, ScreenRect logicalOutput);

}  // namespace quorvane
