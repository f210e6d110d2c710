#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "presentation/design/adaptive_columns.hpp"
#include "presentation/design/button_look.hpp"
#include "presentation/design/color_role.hpp"
#include "presentation/design/fit_arrangement.hpp"
#include "presentation/design/system_scheme.hpp"
#include "presentation/design/text_shade.hpp"

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

// The hue angle of a colour in degrees.
double hueOf(Rgb8 colour) {
    const double r = colour.red, g = colour.green, b = colour.blue;
    const double high = std::max({r, g, b});
    const double chroma = high - std::min({r, g, b});
    if (chroma == 0)
        return 0;
    double hue = high == r   ? std::fmod((g - b) / chroma, 6.0)
                 : high == g ? (b - r) / chroma + 2
                             : (r - g) / chroma + 4;
    hue *= 60;
    return hue < 0 ? hue + 360 : hue;
}

// The warm palette's warning, destructive and green keep their fill values;
// a label in them takes a shade of the same hue, deeper in light and brighter
// in dark, that reads at 4.5:1 on a button of its own colour (pressed too)
// wherever a button stands, and on a status pill of its colour on a card.
TEST(SchemeTest, WarmStatusTextShadesKeepTheirHueAndReadOnTheirChips) {
    EXPECT_EQ(colorValue(ColorRole::warning, ColorScheme::light), (Rgb8{150, 116, 56}));
    EXPECT_EQ(colorValue(ColorRole::destructive, ColorScheme::dark), (Rgb8{208, 143, 131}));
    const auto anywhere = groundColors({PageGround::control, {}}, ColorScheme::dark);
    EXPECT_EQ(textColorValue(ColorRole::primary, ColorScheme::dark, anywhere),
              colorValue(ColorRole::primary, ColorScheme::dark));
    const auto lightness = [](Rgb8 c) { return c.red + c.green + c.blue; };
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        for (ColorRole role : {ColorRole::warning, ColorRole::destructive, ColorRole::green}) {
            const Rgb8 fill = colorValue(role, scheme);
            const Rgb8 text = textColorValue(role, scheme, {PageGround::card, {{role, 0.11}}});
            EXPECT_NEAR(hueOf(text), hueOf(fill), 2.0) << static_cast<int>(role);
            if (scheme == ColorScheme::light)
                EXPECT_LT(lightness(text), lightness(fill));
            else
                EXPECT_GT(lightness(text), lightness(fill));
        }
        for (auto prominence :
             {QuorvaneChipProminence::warning, QuorvaneChipProminence::destructive}) {
            for (ButtonShape shape : {ButtonShape::chip, ButtonShape::tile}) {
                const Rgb8 ink = buttonTextColor(shape, prominence, ButtonRole::none, scheme, true);
                EXPECT_NEAR(hueOf(ink),
                            hueOf(colorValue(
                                buttonLook(shape, prominence, scheme, false, true).text, scheme)),
                            2.0);
                for (bool pressed : {false, true}) {
                    const ButtonLook look = buttonLook(shape, prominence, scheme, pressed, true);
                    for (ColorRole ground : {ColorRole::surface, ColorRole::insetSurface,
                                             ColorRole::windowBackground}) {
                        const Rgb8 under = over(colorValue(look.fill.role, scheme),
                                                look.fill.opacity, colorValue(ground, scheme));
                        EXPECT_GE(contrast(ink, under), 4.5)
                            << static_cast<int>(prominence) << (pressed ? " pressed" : "") << " on "
                            << static_cast<int>(ground);
                    }
                }
            }
        }
    }
}

// A text in a colour of its own keeps that colour where it reads at 4.5:1 on
// its ground, and only there: the muted ink of a status tile in light, the
// green and warning of the dark tiles, the countdown on the dark banner's
// pill. Elsewhere it takes the nearest shade of its hue that reads, and no
// further: the dark hardware-write tag on its 14 % wash, the light one on
// 9 %, the secondary message of the light banner.
TEST(SchemeTest, TextKeepsItsOwnColourWhereItReadsAndTheNearestReadingShadeElsewhere) {
    const auto light = ColorScheme::light;
    const auto dark = ColorScheme::dark;
    const auto lightness = [](Rgb8 c) { return c.red + c.green + c.blue; };
    const TextGround lightTile{PageGround::window, {{ColorRole::track, 0.54}}};
    const TextGround darkTile{PageGround::window, {{ColorRole::track, 0.40}}};
    EXPECT_EQ(textColorValue(ColorRole::mutedInk, light, lightTile),
              colorValue(ColorRole::mutedInk, light));
    EXPECT_EQ(textColorValue(ColorRole::green, dark, darkTile), colorValue(ColorRole::green, dark));
    EXPECT_EQ(textColorValue(ColorRole::warning, dark, darkTile),
              colorValue(ColorRole::warning, dark));
    const TextGround darkBannerPill{PageGround::window,
                                    {{ColorRole::warning, 0.16}, {ColorRole::surface, 0.62}}};
    EXPECT_EQ(textColorValue(ColorRole::warning, dark, darkBannerPill),
              colorValue(ColorRole::warning, dark));

    struct Shaded {
        ColorRole role;
        ColorScheme scheme;
        TextGround ground;
    };
    const Shaded shaded[] = {
        {ColorRole::warning, dark, {PageGround::control, {{ColorRole::warning, 0.14}}}},
        {ColorRole::warning, light, {PageGround::control, {{ColorRole::warning, 0.09}}}},
        {ColorRole::secondary, light, {PageGround::window, {{ColorRole::warning, 0.10}}}},
    };
    for (const Shaded& text : shaded) {
        const Rgb8 own = colorValue(text.role, text.scheme);
        const auto grounds = groundColors(text.ground, text.scheme);
        double ownLeast = 21, shadeLeast = 21;
        const Rgb8 shade = textColorValue(text.role, text.scheme, text.ground);
        for (const Rgb8 ground : grounds) {
            ownLeast = std::min(ownLeast, contrastRatio(own, ground));
            shadeLeast = std::min(shadeLeast, contrastRatio(shade, ground));
        }
        EXPECT_LT(ownLeast, 4.5);
        EXPECT_GE(shadeLeast, 4.5);
        EXPECT_LT(shadeLeast, 4.6) << "no further than it must";
        if (text.scheme == dark)
            EXPECT_GT(lightness(shade), lightness(own));
        else
            EXPECT_LT(lightness(shade), lightness(own));
    }

    // Nothing reads on both black and white: the furthest shade it is.
    EXPECT_EQ(textColorValue(ColorRole::warning, dark, {Rgb8{0, 0, 0}, Rgb8{255, 255, 255}}),
              (Rgb8{255, 255, 255}));
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
