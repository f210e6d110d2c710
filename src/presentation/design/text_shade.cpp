#include "presentation/design/text_shade.hpp"

#include <algorithm>
#include <cmath>

#include "presentation/design/surface_look.hpp"

namespace quorvane {

namespace {

// A bisection of the lightness this many times lands within a millionth of
// the least shade that reads, far below one 8-bit step.
constexpr int kShadeSearchSteps = 24;

double linearChannel(std::uint8_t value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(Rgb8 colour) {
    return 0.2126 * linearChannel(colour.red) + 0.7152 * linearChannel(colour.green) +
           0.0722 * linearChannel(colour.blue);
}

std::uint8_t toByte(double unit) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(unit, 0.0, 1.0) * 255));
}

// Hue (0...6, in sixths of the circle), saturation and lightness.
struct Hsl {
    double hue = 0;
    double saturation = 0;
    double lightness = 0;
};

Hsl hslOf(Rgb8 colour) {
    const double r = colour.red / 255.0, g = colour.green / 255.0, b = colour.blue / 255.0;
    const double high = std::max({r, g, b});
    const double low = std::min({r, g, b});
    const double chroma = high - low;
    Hsl hsl;
    hsl.lightness = (high + low) / 2;
    if (chroma == 0)
        return hsl;
    hsl.saturation = chroma / (1 - std::abs(2 * hsl.lightness - 1));
    if (high == r)
        hsl.hue = std::fmod((g - b) / chroma + 6, 6.0);
    else if (high == g)
        hsl.hue = (b - r) / chroma + 2;
    else
        hsl.hue = (r - g) / chroma + 4;
    return hsl;
}

Rgb8 colourOf(const Hsl& hsl) {
    const double chroma = (1 - std::abs(2 * hsl.lightness - 1)) * hsl.saturation;
    const double second = chroma * (1 - std::abs(std::fmod(hsl.hue, 2.0) - 1));
    // Red, green and blue in each sixth of the hue circle.
    const double sixths[6][3] = {{chroma, second, 0}, {second, chroma, 0}, {0, chroma, second},
                                 {0, second, chroma}, {second, 0, chroma}, {chroma, 0, second}};
    const auto& [r, g, b] = sixths[static_cast<int>(hsl.hue) % 6];
    const double floor = hsl.lightness - chroma / 2;
    return {toByte(r + floor), toByte(g + floor), toByte(b + floor)};
}

constexpr double kTarget = kReadableTextContrast + kReadableTextAllowance;

double leastContrast(Rgb8 text, const std::vector<Rgb8>& grounds) {
    double least = 21.0;
    for (const Rgb8 ground : grounds)
        least = std::min(least, contrastRatio(text, ground));
    return least;
}

// The opaque grounds of `page`. The tiles and washes below are the ones the
// windows draw: a settings action card's track tile, the panel's slider rows
// and its recovery card, whose buttons and tags stand on them.
std::vector<Rgb8> pageColors(PageGround page, ColorScheme scheme) {
    const Rgb8 window = colorValue(ColorRole::windowBackground, scheme);
    const Rgb8 soft = laidOver(surfaceLook(SurfaceKind::soft, scheme).fill, scheme, window);
    const Rgb8 hero = laidOver(surfaceLook(SurfaceKind::hero, scheme).fill, scheme, window);
    switch (page) {
        case PageGround::window:
            return {window};
        case PageGround::card:
            return {soft, hero};
        case PageGround::control:
            return {window,
                    soft,
                    hero,
                    colorValue(ColorRole::insetSurface, scheme),
                    laidOver({ColorRole::track, bySchemePair(scheme, kActionCardTileLightOpacity,
                                                             kActionCardTileDarkOpacity)},
                             scheme, soft),
                    laidOver(kPanelSliderRowFill, scheme, window),
                    laidOver({ColorRole::warning, bySchemePair(scheme, kPanelRecoveryCardLightWash,
                                                               kPanelRecoveryCardDarkWash)},
                             scheme, window)};
    }
    return {window};
}

}  // namespace

double contrastRatio(Rgb8 first, Rgb8 second) {
    const double one = luminance(first);
    const double two = luminance(second);
    return (std::max(one, two) + 0.05) / (std::min(one, two) + 0.05);
}

// A painter keeps a colour's opacity in 16 bits, premultiplies the colour
// there, and blends in 8 bits; each step rounds as it does, so a wash laid
// over several others comes out as drawn, to the last step.
Rgb8 laidOver(ColorUse top, ColorScheme scheme, Rgb8 under) {
    const long alpha16 = std::lround(std::clamp(top.opacity, 0.0, 1.0) * 65535);
    const long alpha = std::lround(alpha16 / 257.0);
    const Rgb8 colour = colorValue(top.role, scheme);
    const auto mix = [alpha16, alpha](std::uint8_t over, std::uint8_t below) {
        const long premultiplied = std::lround((over * 257L * alpha16 / 65535) / 257.0);
        const long kept = below * (255 - alpha);
        return static_cast<std::uint8_t>(premultiplied + ((kept + (kept >> 8) + 0x80) >> 8));
    };
    return {mix(colour.red, under.red), mix(colour.green, under.green),
            mix(colour.blue, under.blue)};
}

std::vector<Rgb8> groundColors(const TextGround& ground, ColorScheme scheme) {
    std::vector<Rgb8> colours = pageColors(ground.page, scheme);
    for (Rgb8& colour : colours) {
        for (const ColorUse& wash : ground.washes)
            colour = laidOver(wash, scheme, colour);
    }
    return colours;
}

Rgb8 textColorValue(ColorRole role, ColorScheme scheme, const std::vector<Rgb8>& grounds) {
    const Rgb8 own = colorValue(role, scheme);
    if (leastContrast(own, grounds) >= kTarget)
        return own;
    // Dark grounds lie under light text and the other way round: the shade
    // moves away from them.
    Hsl shade = hslOf(own);
    double reads = scheme == ColorScheme::dark ? 1.0 : 0.0;
    double fails = shade.lightness;
    const auto at = [&shade](double lightness) {
        Hsl moved = shade;
        moved.lightness = lightness;
        return colourOf(moved);
    };
    if (leastContrast(at(reads), grounds) < kTarget)
        return at(reads);
    for (int step = 0; step < kShadeSearchSteps; ++step) {
        const double middle = (reads + fails) / 2;
        if (leastContrast(at(middle), grounds) >= kTarget)
            reads = middle;
        else
            fails = middle;
    }
    return at(reads);
}

Rgb8 textColorValue(ColorRole role, ColorScheme scheme, const TextGround& ground) {
    return textColorValue(role, scheme, groundColors(ground, scheme));
}

}  // namespace quorvane
