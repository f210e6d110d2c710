#include "presentation/design/quorvane_glyph.hpp"

namespace quorvane {

namespace {

using Kind = GlyphElement::Kind;

GlyphElement move(double x, double y) {
    return {Kind::move, {x, y}};
}
GlyphElement line(double x, double y) {
    return {Kind::line, {x, y}};
}
GlyphElement quad(double x, double y, double cx, double cy) {
    return {Kind::quad, {x, y, cx, cy}};
}
GlyphElement curve(double x, double y, double c1x, double c1y, double c2x, double c2y) {
    return {Kind::curve, {x, y, c1x, c1y, c2x, c2y}};
}
GlyphElement close() {
    return {Kind::close, {}};
}
GlyphElement rect(double x, double y, double w, double h, double r) {
    return {Kind::rect, {x, y, w, h, r}};
}
GlyphElement oval(double x, double y, double w, double h) {
    return {Kind::oval, {x, y, w, h}};
}
GlyphElement arc(double cx, double cy, double r, double from, double to, bool decreasing) {
    return {Kind::arc, {cx, cy, r, from, to}, decreasing};
}

std::vector<GlyphElement> shortcutStrokes() {
    std::vector<GlyphElement> elements{rect(4.1, 6, 15.8, 12, 2)};
    for (double y : {9.0, 13.0}) {
        for (double x : {6.5, 10.3, 14.1})
            elements.push_back(rect(x, y, 2, 1.3, 0.45));
    }
    elements.push_back(move(8, 15.2));
    elements.push_back(line(16, 15.2));
    return elements;
}

}  // namespace

std::string_view caseName(QuorvaneGlyph glyph) {
    switch (glyph) {
        case QuorvaneGlyph::startSpark:
            return "startSpark";
        case QuorvaneGlyph::screenColor:
            return "screenColor";
        case QuorvaneGlyph::colorProfile:
            return "colorProfile";
        case QuorvaneGlyph::sceneTiles:
            return "sceneTiles";
        case QuorvaneGlyph::resolution:
            return "resolution";
        case QuorvaneGlyph::presets:
            return "presets";
        case QuorvaneGlyph::monitorGroup:
            return "monitorGroup";
        case QuorvaneGlyph::hardwareDirect:
            return "hardwareDirect";
        case QuorvaneGlyph::diagnostics:
            return "diagnostics";
        case QuorvaneGlyph::recovery:
            return "recovery";
        case QuorvaneGlyph::appearance:
            return "appearance";
        case QuorvaneGlyph::behavior:
            return "behavior";
        case QuorvaneGlyph::shortcuts:
            return "shortcuts";
        case QuorvaneGlyph::settingsImport:
            return "settingsImport";
        case QuorvaneGlyph::statusPulse:
            return "statusPulse";
    }
    return {};
}

std::optional<QuorvaneGlyph> parseCaseName(std::string_view text, QuorvaneGlyph*) {
    for (auto glyph : kAllGlyphs) {
        if (caseName(glyph) == text)
            return glyph;
    }
    return std::nullopt;
}

std::vector<GlyphElement> glyphStrokes(QuorvaneGlyph glyph) {
    switch (glyph) {
        case QuorvaneGlyph::startSpark:
            return {move(12, 4.2),  line(13.7, 9.9),  line(19.2, 12), line(13.7, 14.1),
                    line(12, 19.8), line(10.3, 14.1), line(4.8, 12),  line(10.3, 9.9),
                    close(),        move(5.2, 5.4),   line(7.2, 5.4), move(6.2, 4.4),
                    line(6.2, 6.4)};
        case QuorvaneGlyph::screenColor:
            return {rect(3, 4.5, 18, 14, 2.5),
                    move(8.4, 14.5),
                    arc(12, 14.5, 3.6, 180, 0, false),
                    move(5.8, 14.5),
                    line(18.2, 14.5),
                    move(12, 6.8),
                    line(12, 8.2),
                    move(8.3, 8.9),
                    line(9.3, 9.9),
                    move(15.7, 8.9),
                    line(14.7, 9.9)};
        case QuorvaneGlyph::colorProfile:
            return {rect(4.2, 4.4, 15.6, 15.2, 2.3),
                    move(7.2, 14.8),
                    curve(16.8, 9.2, 9.4, 9.2, 14.2, 15),
                    move(7.2, 8),
                    line(9.6, 8),
                    move(14.4, 16),
                    line(16.8, 16)};
        case QuorvaneGlyph::sceneTiles:
            return {rect(4.6, 4.8, 6.3, 6.3, 1.5), rect(13.1, 4.8, 6.3, 6.3, 1.5),
                    rect(4.6, 13, 6.3, 6.3, 1.5), rect(13.1, 13, 6.3, 6.3, 1.5)};
        case QuorvaneGlyph::resolution:
            return {rect(4, 5, 16, 11.8, 2), move(8.2, 18.8), line(15.8, 18.8), move(12, 16.8),
                    line(12, 18.8),          move(7.3, 8.2),  line(10.2, 8.2),  move(13.8, 13.7),
                    line(16.7, 13.7),        move(7.4, 13.6), line(7.4, 10.6),  move(16.6, 8.2),
                    line(16.6, 11.2)};
        case QuorvaneGlyph::presets:
            return {rect(7, 7.4, 12.6, 11.2, 2), move(4.4, 13.8), line(4.4, 6.6),
                    quad(6.2, 4.8, 4.4, 4.8), line(15, 4.8)};
        case QuorvaneGlyph::monitorGroup:
            return {rect(8.4, 8.4, 11.1, 8.4, 1.6),
                    move(4.5, 13.6),
                    line(4.5, 6.7),
                    quad(6.1, 5.1, 4.5, 5.1),
                    line(15, 5.1),
                    move(14, 16.8),
                    line(14, 18.5),
                    move(11, 18.5),
                    line(17, 18.5)};
        case QuorvaneGlyph::hardwareDirect:
            return {rect(4, 4, 16, 11, 2), move(12, 15),    line(12, 18),    move(8.5, 18),
                    line(15.5, 18),        move(12.7, 6.4), line(9.6, 10.3), line(11.8, 10.3),
                    line(11, 13.2),        line(14.2, 9.3), line(12.1, 9.3), close()};
        case QuorvaneGlyph::diagnostics:
            return {rect(3.5, 5, 17, 13, 2), move(6.4, 11.6), line(8.7, 11.6), line(10.2, 8.2),
                    line(12.5, 14.4),        line(14, 11.6),  line(16.1, 11.6)};
        case QuorvaneGlyph::recovery:
            return {move(12, 3),
                    line(19, 5.6),
                    line(19, 10.5),
                    curve(12, 19.1, 19, 14.5, 16.1, 17.4),
                    curve(5, 10.5, 7.9, 17.4, 5, 14.5),
                    line(5, 5.6),
                    close(),
                    move(14.9, 11.4),
                    arc(12, 11.4, 2.9, 0, 300, true),
                    move(14.5, 7),
                    line(14.3, 9.2),
                    line(12.2, 8.7)};
        case QuorvaneGlyph::appearance:
            return {oval(5, 5, 14, 14), move(12, 5), curve(12, 19, 16, 8.2, 16, 15.8),
                    curve(12, 5, 8, 15.8, 8, 8.2)};
        case QuorvaneGlyph::behavior:
            return {rect(4, 7.3, 16, 9.4, 4.7), oval(11.3, 9.1, 5.8, 5.8), move(6.9, 12),
                    line(9.3, 12)};
        case QuorvaneGlyph::shortcuts:
            return shortcutStrokes();
        case QuorvaneGlyph::settingsImport:
            return {
                move(12, 4.2),    line(12, 12.4),         move(8.9, 9.3), line(12, 12.4),
                line(15.1, 9.3),  move(5, 13.6),          line(5, 18),    quad(6.6, 19.6, 5, 19.6),
                line(17.4, 19.6), quad(19, 18, 19, 19.6), line(19, 13.6)};
        case QuorvaneGlyph::statusPulse:
            return {rect(4, 5.2, 16, 13.6, 2.2),
                    move(6.6, 12.2),
                    line(8.8, 12.2),
                    line(10, 9),
                    line(12.4, 15.2),
                    line(14, 11.2),
                    line(15.3, 12.2),
                    line(17.5, 12.2)};
    }
    return {};
}

std::array<GlyphDot, 2> glyphDots(QuorvaneGlyph glyph) {
    switch (glyph) {
        case QuorvaneGlyph::startSpark:
            return {{{17.2, 5.2, 2.8}, {5.2, 16, 2.4}}};
        case QuorvaneGlyph::screenColor:
            return {{{17.4, 4.6, 3.1}, {5.8, 16.2, 2.4}}};
        case QuorvaneGlyph::colorProfile:
            return {{{17.1, 5.1, 2.7}, {5, 15.9, 2.5}}};
        case QuorvaneGlyph::sceneTiles:
            return {{{17.5, 5.4, 2.4}, {5.3, 16, 2.5}}};
        case QuorvaneGlyph::resolution:
            return {{{17.3, 5, 2.6}, {5.4, 15.9, 2.4}}};
        case QuorvaneGlyph::presets:
            return {{{4.8, 5, 2.6}, {17.2, 16.2, 2.2}}};
        case QuorvaneGlyph::monitorGroup:
            return {{{17.3, 4.7, 2.7}, {5.2, 16.5, 2.3}}};
        case QuorvaneGlyph::hardwareDirect:
            return {{{5, 5, 2.6}, {17, 15.8, 2.6}}};
        case QuorvaneGlyph::diagnostics:
            return {{{17, 5, 2.8}, {5.4, 16.2, 2.2}}};
        case QuorvaneGlyph::recovery:
            return {{{17, 5.3, 2.7}, {5.2, 15.8, 2.5}}};
        case QuorvaneGlyph::appearance:
            return {{{17, 5, 2.7}, {5.1, 16, 2.5}}};
        case QuorvaneGlyph::behavior:
            return {{{17.2, 5.2, 2.5}, {5.2, 15.8, 2.5}}};
        case QuorvaneGlyph::shortcuts:
            return {{{17.1, 5, 2.5}, {5, 16.1, 2.4}}};
        case QuorvaneGlyph::settingsImport:
            return {{{5.1, 5.1, 2.5}, {17.2, 15.9, 2.4}}};
        case QuorvaneGlyph::statusPulse:
            return {{{17.2, 5.2, 2.6}, {5.3, 15.9, 2.4}}};
    }
    return {};
}

}  // namespace quorvane
