#pragma once

#include <map>
#include <optional>

#include "models/color/color_adjustment.hpp"
#include "models/ddc/ddc_snapshot.hpp"
#include "models/display/display_snapshot.hpp"
#include "models/recovery/quorvane_effect_recovery_snapshot.hpp"
#include "presentation/panel/panel_slider_row_content.hpp"

namespace quorvane {

// Which control the quick tuning card's brightness row drives.
enum class PanelBrightnessRowKind {
    systemBrightness,   // the built-in panel's backlight
    monitorBrightness,  // the monitor's own brightness over DDC/CI
    appColor,           // the software brightness of the colour correction
};

struct PanelBrightnessRow {
    PanelBrightnessRowKind kind = PanelBrightnessRowKind::appColor;
    PanelSliderRowContent row;

    bool operator==(const PanelBrightnessRow&) const = default;
};

// A brightness the program writes straight to the hardware: the system's
// backlight value, or else a brightness reading of the monitor's own.
bool panelHasDirectBrightness(const DisplaySnapshot& display,
                              const std::map<DisplayID, DDCSnapshot>& ddcSnapshots);

// While the store shows a quick list, read without brightness, a display
// that had a backlight value keeps it: otherwise the brightness row would
// turn into another kind until the full read is back, and a press meant for
// the backlight could land on the app's colour.
DisplaySnapshot panelDisplayHoldingBacklight(const DisplaySnapshot& display,
                                             const std::optional<DisplaySnapshot>& previous,
                                             bool quickList);

// The first kind that applies: system backlight, then monitor brightness,
// then the app's colour brightness.
PanelBrightnessRow panelBrightnessRow(const DisplaySnapshot& display,
                                      const std::map<DisplayID, DDCSnapshot>& ddcSnapshots,
                                      const ColorAdjustment& adjustment);
PanelSliderRowContent panelColorTemperatureRow(const ColorAdjustment& adjustment);
PanelSliderRowContent panelContrastRow(const ColorAdjustment& adjustment);

// The colour-temperature row's value: the unrounded kelvin of the saved
// warmth (warm and cool spans differ), and the warmth a kelvin value writes.
double panelColorTemperatureKelvin(const ColorAdjustment& adjustment);
double panelWarmthForKelvin(double kelvin);

// The hold-to-compare button beside the correction switch.
struct PanelCompareButton {
    bool present = false;
    bool enabled = false;

    bool operator==(const PanelCompareButton&) const = default;
};

// Present when the store knows the display's effect state; enabled only
// while the correction is shown (active) and switched on.
PanelCompareButton panelCompareButton(
    const std::optional<QuorvaneEffectRecoverySnapshot>& recoverySnapshot,
    bool softwareColorCorrectionEnabled);

}  // namespace quorvane
