#include "presentation/design/color_role.hpp"

namespace quorvane {

namespace {

struct RolePair {
    Rgb8 light;
    Rgb8 dark;
};

RolePair rolePair(ColorRole role) {
    switch (role) {
        case ColorRole::windowBackground:
            return {{246, 243, 236}, {42, 40, 36}};
        case ColorRole::accent:
            return {{164, 90, 43}, {219, 151, 98}};
        case ColorRole::surface:
            return {{255, 253, 249}, {61, 58, 53}};
        case ColorRole::surfaceBorder:
            return {{229, 224, 215}, {75, 71, 65}};
        case ColorRole::heroBorder:
            return {{215, 209, 197}, {90, 85, 78}};
        case ColorRole::accentFill:
            return {{242, 223, 209}, {89, 64, 48}};
        case ColorRole::ink:
            return {{44, 41, 35}, {234, 230, 221}};
        case ColorRole::mutedInk:
            return {{112, 107, 98}, {170, 164, 154}};
        case ColorRole::track:
            return {{239, 235, 226}, {71, 67, 61}};
        case ColorRole::warning:
            return {{150, 116, 56}, {203, 177, 120}};
        case ColorRole::destructive:
            return {{163, 92, 80}, {208, 143, 131}};
        case ColorRole::green:
            return {{75, 127, 89}, {141, 189, 146}};
        case ColorRole::insetSurface:
            return {{251, 249, 244}, {51, 49, 45}};
        // The named colours are chosen to stay readable on the paper
        // background of either scheme. The status tints are the desktop's
        // standard green, orange, red and blue, each taken to the nearest
        // shade whose text reads at 4.5:1 on every card and window ground
        // and on its own tinted pill.
        case ColorRole::primary:
            return {{33, 31, 27}, {240, 237, 230}};
        case ColorRole::secondary:
            return {{110, 105, 96}, {172, 166, 156}};
        case ColorRole::systemGreen:
            return {{32, 121, 54}, {83, 206, 114}};
        case ColorRole::systemOrange:
            return {{162, 86, 0}, {255, 164, 38}};
        case ColorRole::systemRed:
            return {{200, 44, 36}, {255, 127, 118}};
        case ColorRole::systemBlue:
            return {{0, 102, 204}, {100, 170, 255}};
    }
    return {{0, 0, 0}, {255, 255, 255}};
}

}  // namespace

Rgb8 colorValue(ColorRole role, ColorScheme scheme) {
    const RolePair pair = rolePair(role);
    return bySchemePair(scheme, pair.light, pair.dark);
}

ColorScheme effectiveScheme(QuorvaneAppearance appearance, ColorScheme systemScheme) {
    switch (appearance) {
        case QuorvaneAppearance::light:
            return ColorScheme::light;
        case QuorvaneAppearance::dark:
            return ColorScheme::dark;
        case QuorvaneAppearance::system:
            return systemScheme;
    }
    return ColorScheme::light;
}

}  // namespace quorvane
