#include "presentation/panel/panel_quick_tuning.hpp"

#include <algorithm>

#include "models/coding/number_format.hpp"
#include "models/color/quorvane_color_temperature.hpp"

namespace quorvane {

namespace {

constexpr const char* kBrightnessTitle = "밝기";
constexpr const char* kBrightnessIcon = "sun.max";

std::optional<DDCControlValue> monitorBrightness(
    const DisplaySnapshot& display, const std::map<DisplayID, DDCSnapshot>& ddcSnapshots) {
    const auto snapshot = ddcSnapshots.find(display.id);
    if (snapshot == ddcSnapshots.end())
        return std::nullopt;
    const auto value = snapshot->second.values.find(DDCVCPCode::brightness);
    if (value == snapshot->second.values.end())
        return std::nullopt;
    return value->second;
}

PanelSliderRowContent systemBrightnessRow(double brightness) {
    return {kBrightnessTitle,
            kBrightnessIcon,
            0.05,
            1.0,
            0.01,
            brightness,
            panelFormattedValue(PanelValueFormat::percent, brightness),
            PanelValueFormat::percent,
            true,
            false};
}

PanelSliderRowContent monitorBrightnessRow(const DDCControlValue& reading) {
    const double value =
        reading.maximum == 0
            ? 0.0
            : std::clamp(static_cast<double>(reading.current) / reading.maximum, 0.0, 1.0);
    return {kBrightnessTitle,       kBrightnessIcon,           0.05, 1.0, 0.01, value,
            reading.percentLabel(), PanelValueFormat::percent, true, true};
}

PanelSliderRowContent appColorBrightnessRow(const ColorAdjustment& adjustment) {
    return {kBrightnessTitle,
            kBrightnessIcon,
            0.1,
            1.5,
            0.05,
            adjustment.softwareBrightness,
            formatFixed(adjustment.softwareBrightness, 2),
            PanelValueFormat::twoDecimals,
            false,
            false};
}

}  // namespace

bool panelHasDirectBrightness(const DisplaySnapshot& display,
                              const std::map<DisplayID, DDCSnapshot>& ddcSnapshots) {
    return display.hardwareBrightness.has_value() ||
           monitorBrightness(display, ddcSnapshots).has_value();
}

DisplaySnapshot panelDisplayHoldingBacklight(const DisplaySnapshot& display,
                                             const std::optional<DisplaySnapshot>& previous,
                                             bool quickList) {
    if (!quickList || display.hardwareBrightness || !previous || previous->id != display.id)
        return display;
    DisplaySnapshot held = display;
    held.hardwareBrightness = previous->hardwareBrightness;
    return held;
}

PanelBrightnessRow panelBrightnessRow(const DisplaySnapshot& display,
                                      const std::map<DisplayID, DDCSnapshot>& ddcSnapshots,
                                      const ColorAdjustment& adjustment) {
    if (display.hardwareBrightness)
        return {PanelBrightnessRowKind::systemBrightness,
                systemBrightnessRow(*display.hardwareBrightness)};
    if (const auto reading = monitorBrightness(display, ddcSnapshots))
        return {PanelBrightnessRowKind::monitorBrightness, monitorBrightnessRow(*reading)};
    return {PanelBrightnessRowKind::appColor, appColorBrightnessRow(adjustment)};
}

PanelSliderRowContent panelColorTemperatureRow(const ColorAdjustment& adjustment) {
    return {"색온도",
            "thermometer.medium",
            2700,
            9300,
            100,
            panelColorTemperatureKelvin(adjustment),
            QuorvaneColorTemperature::displayText(adjustment.warmth),
            PanelValueFormat::kelvinHundreds,
            false,
            false};
}

PanelSliderRowContent panelContrastRow(const ColorAdjustment& adjustment) {
    return {"명암",
            "circle.righthalf.filled",
            0.2,
            2.0,
            0.05,
            adjustment.contrast,
            formatFixed(adjustment.contrast, 2),
            PanelValueFormat::twoDecimals,
            false,
            false};
}

double panelColorTemperatureKelvin(const ColorAdjustment& adjustment) {
    return QuorvaneColorTemperature::kelvin(adjustment.warmth);
}

double panelWarmthForKelvin(double kelvin) {
    return QuorvaneColorTemperature::warmth(kelvin);
}

PanelCompareButton panelCompareButton(
    const std::optional<QuorvaneEffectRecoverySnapshot>& recoverySnapshot,
    bool softwareColorCorrectionEnabled) {
    if (!recoverySnapshot)
        return {};
    return {true, recoverySnapshot->mode == QuorvaneEffectRecoveryMode::active &&
                      softwareColorCorrectionEnabled};
}

}  // namespace quorvane
