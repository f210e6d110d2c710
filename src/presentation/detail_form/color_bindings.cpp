#include "presentation/detail_form/color_bindings.hpp"

#include "models/color/quorvane_color_temperature.hpp"

namespace quorvane {

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
    store.updateColorAdjustment(displayID, [](ColorAdjustment& adjustment) {
        const auto neutral = ColorAdjustment::neutral();
        adjustment.softwareBrightness = neutral.softwareBrightness;
        adjustment.contrast = neutral.contrast;
        adjustment.gamma = neutral.gamma;
    });
}

void ColorBindings::resetRGBGains(DisplayStore& store, DisplayID displayID) {
    store.updateColorAdjustment(displayID, [](ColorAdjustment& adjustment) {
        const auto neutral = ColorAdjustment::neutral();
        adjustment.redGain = neutral.redGain;
        adjustment.greenGain = neutral.greenGain;
        adjustment.blueGain = neutral.blueGain;
    });
}

void ColorBindings::resetRGBCurves(DisplayStore& store, DisplayID displayID) {
    store.updateColorAdjustment(displayID, [](ColorAdjustment& adjustment) {
        const auto neutral = ColorAdjustment::neutral();
        adjustment.redGamma = neutral.redGamma;
        adjustment.greenGamma = neutral.greenGamma;
        adjustment.blueGamma = neutral.blueGamma;
    });
}

bool ColorBindings::levelsAreNeutral(const ColorAdjustment& adjustment) {
    const auto neutral = ColorAdjustment::neutral();
    return adjustment.softwareBrightness == neutral.softwareBrightness &&
           adjustment.contrast == neutral.contrast && adjustment.gamma == neutral.gamma;
}

bool ColorBindings::rgbGainsAreNeutral(const ColorAdjustment& adjustment) {
    const auto neutral = ColorAdjustment::neutral();
    return adjustment.redGain == neutral.redGain && adjustment.greenGain == neutral.greenGain &&
           adjustment.blueGain == neutral.blueGain;
}

bool ColorBindings::rgbCurvesAreNeutral(const ColorAdjustment& adjustment) {
    const auto neutral = ColorAdjustment::neutral();
    return adjustment.redGamma == neutral.redGamma && adjustment.greenGamma == neutral.greenGamma &&
           adjustment.blueGamma == neutral.blueGamma;
}

}  // namespace quorvane
