#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "presentation/design/adaptive_columns.hpp"
#include "presentation/design/color_role.hpp"
#include "presentation/design/fit_arrangement.hpp"
#include "presentation/design/system_scheme.hpp"

namespace quorvane {
namespace {

TEST(SchemeTest, ForcedAppearanceWinsOverTheDesktop) {
    EXPECT_EQ(effectiveScheme(QuorvaneAppearance::light, ColorScheme::dark), ColorScheme::light);
    EXPECT_EQ(effectiveScheme(QuorvaneAppearance::dark, ColorScheme::light), ColorScheme::dark);
    EXPECT_EQ(effectiveScheme(QuorvaneAppearance::system, ColorScheme::dark), ColorScheme::dark);
}

TEST(SchemeTest, PortalPreferenceBeatsPaletteAndUnknownIsLight) {
    EXPECT_EQ(systemSchemeFrom(1u, 240), ColorScheme::dark);
    EXPECT_EQ(systemSchemeFrom(2u, 20), ColorScheme::light);
    // No preference: the palette decides.
    EXPECT_EQ(systemSchemeFrom(0u, 30), ColorScheme::dark);
    EXPECT_EQ(systemSchemeFrom(std::nullopt, 200), ColorScheme::light);
    EXPECT_EQ(systemSchemeFrom(7u, std::nullopt), ColorScheme::light);
    EXPECT_EQ(systemSchemeFrom(std::nullopt, std::nullopt), ColorScheme::light);
}

TEST(SchemeTest, DarkColumnOnlyForDark) {
    EXPECT_NE(colorValue(ColorRole::surface, ColorScheme::light),
              colorValue(ColorRole::surface, ColorScheme::dark));
    // Accent colours lighten in dark so they stay readable.
    const auto light = colorValue(ColorRole::accent, ColorScheme::light);
    const auto dark = colorValue(ColorRole::accent, ColorScheme::dark);
    EXPECT_GT(dark.red + dark.green + dark.blue, light.red + light.green + light.blue);
}

double luminance(Rgb8 colour) {
    const auto channel = [](std::uint8_t value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red) + 0.7152 * channel(colour.green) +
           0.0722 * channel(colour.blue);
}

double contrast(Rgb8 a, Rgb8 b) {
    const double one = luminance(a);
    const double two = luminance(b);
    return (std::max(one, two) + 0.05) / (std::min(one, two) + 0.05);
}

// `top` at `opacity` laid over `ground`.
Rgb8 over(Rgb8 top, double opacity, Rgb8 ground) {
    const auto mix = [opacity](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a * opacity + b * (1 - opacity)));
    };
    return {mix(top.red, ground.red), mix(top.green, ground.green), mix(top.blue, ground.blue)};
}

// Status labels are drawn in these tints on cards, inset cards and the
// window, and the green and orange of a display's badge on a pill filled
// with the tint itself (11 % over a card): each text reads at 4.5:1 on its
// grounds in either scheme, and the blue of a comparison never reads as the
// accent.
TEST(SchemeTest, StatusTintsStayReadableOnCardsAndWindowsInBothSchemes) {
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        for (ColorRole tint : {ColorRole::systemGreen, ColorRole::systemOrange,
                               ColorRole::systemRed, ColorRole::systemBlue}) {
            const Rgb8 ink = colorValue(tint, scheme);
            for (ColorRole ground :
                 {ColorRole::surface, ColorRole::insetSurface, ColorRole::windowBackground}) {
                EXPECT_GE(contrast(ink, colorValue(ground, scheme)), 4.5)
                    << static_cast<int>(tint) << " on " << static_cast<int>(ground);
            }
        }
        for (ColorRole tint : {ColorRole::systemGreen, ColorRole::systemOrange}) {
            const Rgb8 ink = colorValue(tint, scheme);
            const Rgb8 pill = over(ink, 0.11, colorValue(ColorRole::surface, scheme));
            EXPECT_GE(contrast(ink, pill), 4.5) << static_cast<int>(tint) << " on its pill";
        }
        const Rgb8 blue = colorValue(ColorRole::systemBlue, scheme);
        const Rgb8 accent = colorValue(ColorRole::accent, scheme);
        EXPECT_GT(blue.blue, blue.red);
        EXPECT_GT(accent.red, accent.blue);
    }
    EXPECT_NE(colorValue(ColorRole::systemBlue, ColorScheme::light),
              colorValue(ColorRole::systemBlue, ColorScheme::dark));
}

// Cards laid inside a panel sit a shade between the panel and the window
// behind it, in either scheme.
TEST(SchemeTest, InsetSurfaceLiesBetweenSurfaceAndWindowBackground) {
    const auto lightness = [](Rgb8 color) { return color.red + color.green + color.blue; };
    for (const auto scheme : {ColorScheme::light, ColorScheme::dark}) {
        const int inset = lightness(colorValue(ColorRole::insetSurface, scheme));
        const int surface = lightness(colorValue(ColorRole::surface, scheme));
        const int window = lightness(colorValue(ColorRole::windowBackground, scheme));
        EXPECT_GT(inset, std::min(surface, window));
        EXPECT_LT(inset, std::max(surface, window));
    }
    EXPECT_EQ(colorValue(ColorRole::insetSurface, ColorScheme::light), (Rgb8{251, 249, 244}));
    EXPECT_EQ(colorValue(ColorRole::insetSurface, ColorScheme::dark), (Rgb8{51, 49, 45}));
}

TEST(AdaptiveColumnsTest, AsManyLeastWideColumnsAsFitButAlwaysOneAndNeverMoreThanItems) {
    // Three columns of 170 with two gaps of 8 need exactly 526.
    EXPECT_EQ(adaptiveColumnCount(526, 170, 8, 10), 3);
    EXPECT_EQ(adaptiveColumnCount(525, 170, 8, 10), 2);
    EXPECT_EQ(adaptiveColumnCount(170, 170, 8, 10), 1);
    // Narrower than one column, or not laid out yet: still one.
    EXPECT_EQ(adaptiveColumnCount(100, 170, 8, 10), 1);
    EXPECT_EQ(adaptiveColumnCount(0, 170, 8, 10), 1);
    EXPECT_EQ(adaptiveColumnCount(-5, 170, 8, 10), 1);
    // Room for six, but only four tiles.
    EXPECT_EQ(adaptiveColumnCount(2000, 170, 8, 4), 4);
    EXPECT_EQ(adaptiveColumnCount(2000, 170, 8, 0), 1);
}

TEST(FitArrangementTest, RowStaysSideBySideUpToExactlyItsIdealWidth) {
    EXPECT_EQ(chooseArrangement(300, 300), FitArrangement::horizontal);
    EXPECT_EQ(chooseArrangement(300, 301), FitArrangement::horizontal);
    EXPECT_EQ(chooseArrangement(300, 299), FitArrangement::vertical);
}

}  // namespace
}  // namespace quorvane
