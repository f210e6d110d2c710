#pragma once

#include "models/color/color_adjustment.hpp"
#include "models/display/display_snapshot.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

// The colour page's reads and writes. Every write is exactly one
// updateColorAdjustment call whose mutate changes only the fields named, so
// one undo takes back one control's change and nothing else.
struct ColorBindings {
    // The saved warmth as kelvin, not rounded (the slider's position).
    static double kelvin(const ColorAdjustment& adjustment);

    static void setField(DisplayStore& store, DisplayID displayID, double ColorAdjustment::*field,
                         double value);
    // Stores the warmth of `kelvin` unrounded: 2700 K or less is +1, above
    // 9300 K is -1.
    static void setColorTemperatureKelvin(DisplayStore& store, DisplayID displayID, double kelvin);
    static void setOutputFilter(DisplayStore& store, DisplayID displayID,
                                QuorvaneOutputFilter filter);

    // Each copies three fields from the neutral adjustment and keeps the rest.
    static void resetLevels(DisplayStore& store, DisplayID displayID);
    static void resetRGBGains(DisplayStore& store, DisplayID displayID);
    static void resetRGBCurves(DisplayStore& store, DisplayID displayID);

    // Exact equality with the neutral values, field by field: a reset is
    // offered for any difference, however small.
    static bool levelsAreNeutral(const ColorAdjustment& adjustment);
    static bool rgbGainsAreNeutral(const ColorAdjustment& adjustment);
    static bool rgbCurvesAreNeutral(const ColorAdjustment& adjustment);
};

}  // namespace quorvane
