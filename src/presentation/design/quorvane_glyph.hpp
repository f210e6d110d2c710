#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace quorvane {

// The application's own line pictures for sections and cards, each drawn on a
// 24 × 24 unit grid (y pointing down) as strokes plus two decorative dots.
enum class QuorvaneGlyph {
    startSpark,
    screenColor,
    colorProfile,
    sceneTiles,
    resolution,
    presets,
    monitorGroup,
    hardwareDirect,
    diagnostics,
    recovery,
    appearance,
    behavior,
    shortcuts,
    settingsImport,
    statusPulse,
};

inline constexpr std::array<QuorvaneGlyph, 15> kAllGlyphs = {
    QuorvaneGlyph::startSpark,   QuorvaneGlyph::screenColor,    QuorvaneGlyph::colorProfile,
    QuorvaneGlyph::sceneTiles,   QuorvaneGlyph::resolution,     QuorvaneGlyph::presets,
    QuorvaneGlyph::monitorGroup, QuorvaneGlyph::hardwareDirect, QuorvaneGlyph::diagnostics,
    QuorvaneGlyph::recovery,     QuorvaneGlyph::appearance,     QuorvaneGlyph::behavior,
    QuorvaneGlyph::shortcuts,    QuorvaneGlyph::settingsImport, QuorvaneGlyph::statusPulse};

std::string_view caseName(QuorvaneGlyph glyph);
// Exactly the fifteen case names, case-sensitive.
std::optional<QuorvaneGlyph> parseCaseName(std::string_view text, QuorvaneGlyph*);

// One drawing step in grid units.
//   move/line: x, y          quad: x, y, cx, cy
//   curve: x, y, c1x, c1y, c2x, c2y
//   rect: x, y, w, h, radius  oval: x, y, w, h
//   arc: cx, cy, radius, startDegrees, endDegrees, with angles measured from
//        +x towards +y (clockwise on screen); `decreasing` says which way the
//        angle runs from start to end.
struct GlyphElement {
    enum class Kind { move, line, quad, curve, close, rect, oval, arc };
    Kind kind = Kind::move;
    std::array<double, 6> v{};
    bool decreasing = false;
};

// A filled dot: the circle inscribed in the square at x, y with this side.
struct GlyphDot {
    double x = 0;
    double y = 0;
    double side = 0;
};

std::vector<GlyphElement> glyphStrokes(QuorvaneGlyph glyph);
std::array<GlyphDot, 2> glyphDots(QuorvaneGlyph glyph);

}  // namespace quorvane
