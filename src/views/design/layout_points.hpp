#pragma once

namespace quorvane {

// Every size the windows are laid out in (paddings, widths, corner radii, text
// sizes, symbol sides) is counted in layout points, and a layout point is one
// device-independent pixel: the same unit Qt lays widgets out in. Qt's font
// point is a typographic point instead, 1/72 inch at the 96 logical dots per
// inch Qt keeps on X11 (high-density screens scale through the device pixel
// ratio, not the DPI), so a font set to 14 Qt points would be 18.7 pixels tall
// next to paddings counted in pixels. Fonts take their layout size through
// here so text keeps the proportions of the boxes it sits in.
constexpr double kQtPointsPerLayoutPoint = 72.0 / 96.0;

constexpr double qtFontPoints(double layoutPoints) {
    return layoutPoints * kQtPointsPerLayoutPoint;
}

}  // namespace quorvane
