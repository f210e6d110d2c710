#include "presentation/design/button_look.hpp"

#include "presentation/design/text_shade.hpp"
#include "presentation/design/text_size_table.hpp"

namespace quorvane {

namespace {

// A pressed coloured fill deepens by this much.
constexpr double kPressedFillGain = 0.08;
constexpr double kDisabledOpacity = 0.55;
constexpr double kDisabledLinkOpacity = 0.7;
constexpr double kTileCornerRadius = 12;

struct Opacities {
    double light;
    double dark;
    double in(ColorScheme scheme) const { return bySchemePair(scheme, light, dark); }
};

struct ProminenceColors {
    ColorRole fill;
    Opacities chipFill;
    Opacities tileFill;
    ColorRole border;
    Opacities chipBorder;
    Opacities tileBorder;
    ColorRole text;
};

ProminenceColors prominenceColors(QuorvaneChipProminence prominence) {
    switch (prominence) {
        case QuorvaneChipProminence::neutral:
            return {ColorRole::surface, {0.98, 0.98}, {0.98, 0.98},      ColorRole::surfaceBorder,
                    {0.72, 0.82},       {0.72, 0.82}, ColorRole::primary};
        case QuorvaneChipProminence::accent:
            return {ColorRole::accentFill, {0.82, 0.74}, {0.84, 0.76},  ColorRole::accent,
                    {0.46, 0.58},          {0.46, 0.58}, ColorRole::ink};
        case QuorvaneChipProminence::warning:
            return {ColorRole::warning, {0.11, 0.16}, {0.12, 0.17},      ColorRole::warning,
                    {0.34, 0.46},       {0.36, 0.48}, ColorRole::warning};
        case QuorvaneChipProminence::destructive:
            return {ColorRole::destructive, {0.10, 0.14}, {0.11, 0.15},
                    ColorRole::destructive, {0.32, 0.42}, {0.34, 0.44},
                    ColorRole::destructive};
    }
    return prominenceColors(QuorvaneChipProminence::neutral);
}

}  // namespace

ColorUse linkTextColor(bool enabled) {
    if (enabled)
        return {ColorRole::accent, 1.0};
    return {ColorRole::secondary, kDisabledLinkOpacity};
}

ButtonLook buttonLook(ButtonShape shape, QuorvaneChipProminence prominence, ColorScheme scheme,
                      bool pressed, bool enabled) {
    const ProminenceColors colors = prominenceColors(prominence);
    const bool chip = shape == ButtonShape::chip;
    double fillOpacity = (chip ? colors.chipFill : colors.tileFill).in(scheme);
    if (pressed && prominence != QuorvaneChipProminence::neutral)
        fillOpacity += kPressedFillGain;
    ButtonLook look;
    look.fill = {colors.fill, fillOpacity};
    look.border = {colors.border, (chip ? colors.chipBorder : colors.tileBorder).in(scheme)};
    look.text = enabled ? colors.text : ColorRole::secondary;
    look.opacity = enabled ? 1.0 : kDisabledOpacity;
    return look;
}

ButtonLook buttonLook(ButtonShape shape, QuorvaneChipProminence prominence, ButtonRole role,
                      ColorScheme scheme, bool pressed, bool enabled) {
    ButtonLook look = buttonLook(shape, prominence, scheme, pressed, enabled);
    if (role == ButtonRole::destructive && enabled)
        look.text = ColorRole::destructive;
    return look;
}

Rgb8 buttonTextColor(ButtonShape shape, QuorvaneChipProminence prominence, ButtonRole role,
                     ColorScheme scheme, bool enabled) {
    const ButtonLook released = buttonLook(shape, prominence, role, scheme, false, enabled);
    if (!enabled)
        return colorValue(released.text, scheme);
    // One colour pressed or not: the press changes the fill alone.
    const ButtonLook pressed = buttonLook(shape, prominence, role, scheme, true, enabled);
    std::vector<Rgb8> grounds = groundColors({PageGround::control, {released.fill}}, scheme);
    const std::vector<Rgb8> deeper = groundColors({PageGround::control, {pressed.fill}}, scheme);
    grounds.insert(grounds.end(), deeper.begin(), deeper.end());
    return textColorValue(released.text, scheme, grounds);
}

double buttonMinHeight(ButtonShape shape, QuorvaneTextSize size) {
    static constexpr TextSizeTable<double> kChip{{30, 34, 40, 46}};
    static constexpr TextSizeTable<double> kTile{{48, 48, 50, 56}};
    return shape == ButtonShape::chip ? kChip[size] : kTile[size];
}

ButtonInsets buttonInsets(ButtonShape shape) {
    return shape == ButtonShape::chip ? ButtonInsets{11, 5} : ButtonInsets{10, 9};
}

double buttonCornerRadius(ButtonShape shape, double height) {
    return shape == ButtonShape::chip ? height / 2 : kTileCornerRadius;
}

}  // namespace quorvane
