#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/color/color_adjustment.hpp"
#include "models/display/display_snapshot.hpp"
#include "models/recovery/quorvane_effect_recovery_snapshot.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

// One slider row of the colour cards. The temperature row edits `warmth` but
// shows and takes kelvin; every other row edits its field as is.
struct ColorSliderRow {
    std::string title;
    std::string subtitle;
    double ColorAdjustment::*field = nullptr;
    bool inKelvin = false;
    double minimum = 0;
    double maximum = 1;
    double nudgeStep = 0.05;

    bool operator==(const ColorSliderRow&) const = default;

    // The slider position for the saved adjustment (kelvin unrounded).
    double value(const ColorAdjustment& adjustment) const;
    // The committed value as shown: "%.2f", or the kelvin text.
    std::string valueText(const ColorAdjustment& adjustment) const;
    // A slider position as shown while dragging.
    std::string formatted(double sliderValue) const;
    // The one store write of a commit (drag end or nudge).
    void commit(DisplayStore& store, DisplayID displayID, double sliderValue) const;
};

enum class ColorResetKind { levels, rgbGains, rgbCurves };

struct ColorResetButton {
    ColorResetKind kind = ColorResetKind::levels;
    std::string title;

    bool operator==(const ColorResetButton&) const = default;

    bool disabled(const ColorAdjustment& adjustment) const;
    void press(DisplayStore& store, DisplayID displayID) const;
};

enum class ReferenceColorCardKind { basics, outputRGB, rgbCurves, outputFilter };

// One card of the colour page with its rows in order. What else a card holds
// (switch, hold-to-compare, curve editor, filter picker) follows its kind.
struct ReferenceColorCard {
    ReferenceColorCardKind kind = ReferenceColorCardKind::basics;
    std::string title;
    std::optional<std::string> hint;
    std::optional<std::string> description;
    std::vector<ColorSliderRow> rows;
    std::optional<ColorResetButton> reset;

    bool operator==(const ReferenceColorCard&) const = default;
};

struct ReferenceColorCards {
    // The four cards in page order.
    static const std::vector<ReferenceColorCard>& cards();

    // The hold-to-compare button: absent (nullopt) without a recovery
    // snapshot; otherwise enabled only while the effect is active and the
    // correction is on. Holding the button makes the mode comparingStock, so
    // it reads disabled while held; ending on release is the button's own.
    static std::optional<bool> holdToCompareEnabled(
        const std::optional<QuorvaneEffectRecoverySnapshot>& snapshot, bool correctionEnabled);

    static std::string outputFilterOptionText(QuorvaneOutputFilter filter);
    static std::string outputFilterDescription(QuorvaneOutputFilter filter);
    static constexpr const char* kOutputFilterPickerTitle = "출력 필터";
    static constexpr const char* kFineTuneLabel = "숫자로 미세 조정";
    static constexpr const char* kFineTuneSymbol = "slider.horizontal.3";
};

}  // namespace quorvane
