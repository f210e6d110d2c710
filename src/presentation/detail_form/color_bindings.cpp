#include "presentation/detail_form/color_bindings.hpp"

#include <array>

#include "models/color/quorvane_color_temperature.hpp"

namespace quorvane {

namespace {

// The three fields each reset button covers.
using FieldGroup = std::array<double ColorAdjustment::*, 3>;
constexpr FieldGroup kLevels{&ColorAdjustment::softwareBrightness, &ColorAdjustment::contrast,
                             &ColorAdjustment::gamma};
constexpr FieldGroup kRGBGains{&ColorAdjustment::redGain, &ColorAdjustment::greenGain,
                               &ColorAdjustment::blueGain};
constexpr FieldGroup kRGBCurves{&ColorAdjustment::redGamma, &ColorAdjustment::greenGamma,
                                &ColorAdjustment::blueGamma};

void resetGroup(DisplayStore& store, DisplayID displayID, const FieldGroup& fields) {
    store.updateColorAdjustment(displayID, [&fields](ColorAdjustment& adjustment) {
        const auto neutral = ColorAdjustment::neutral();
        for (const auto field : fields)
            adjustment.*field = neutral.*field;
    });
}

bool groupIsNeutral(const ColorAdjustment& adjustment, const FieldGroup& fields) {
    const auto neutral = ColorAdjustment::neutral();
    for (const auto field : fields) {
        if (adjustment.*field != neutral.*field)
            return false;
    }
    return true;
}

}  // namespace

double ColorBindings::kelvin(const ColorAdjustment& adjustment) {
    return QuorvaneColorTemperature::kelvin(adjustment.warmth);
}

void ColorBindings::setField(DisplayStore& store, DisplayID displayID,
                             double ColorAdjustment::*field, double value) {
    store.updateColorAdjustment(
        displayID, [field, value](ColorAdjustment& adjustment) { adjustment.*field = value; });
}

void ColorBindings::setColorTemperatureKelvin(DisplayStore& store, DisplayID displayID,
                                              double kelvin) {
    const double warmth = QuorvaneColorTemperature::warmth(kelvin);
    store.updateColorAdjustment(
        displayID, [warmth](ColorAdjustment& adjustment) { adjustment.warmth = warmth; });
}

void ColorBindings::setOutputFilter(DisplayStore& store, DisplayID displayID,
                                    QuorvaneOutputFilter filter) {
    store.updateColorAdjustment(
        displayID, [filter](ColorAdjustment& adjustment) { adjustment.outputFilter = filter; });
}

void ColorBindings::resetLevels(DisplayStore& store, DisplayID displayID) {
    resetGroup(store, displayID, kLevels);
}

void ColorBindings::resetRGBGains(DisplayStore& store, DisplayID displayID) {
    resetGroup(store, displayID, kRGBGains);
}

void ColorBindings::resetRGBCurves(DisplayStore& store, DisplayID displayID) {
    resetGroup(store, displayID, kRGBCurves);
}

bool ColorBindings::levelsAreNeutral(const ColorAdjustment& adjustment) {
    return groupIsNeutral(adjustment, kLevels);
}

bool ColorBindings::rgbGainsAreNeutral(const ColorAdjustment& adjustment) {
    return groupIsNeutral(adjustment, kRGBGains);
}

bool ColorBindings::rgbCurvesAreNeutral(const ColorAdjustment& adjustment) {
    return groupIsNeutral(adjustment, kRGBCurves);
}

}  // namespace quorvane
