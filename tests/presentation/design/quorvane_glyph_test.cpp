#include <gtest/gtest.h>

#include "presentation/design/quorvane_glyph.hpp"

namespace quorvane {
namespace {

TEST(QuorvaneGlyphTest, NamesParseExactlyAndCaseSensitively) {
    for (auto glyph : kAllGlyphs)
        EXPECT_EQ(parseCaseName(caseName(glyph), static_cast<QuorvaneGlyph*>(nullptr)), glyph);
    QuorvaneGlyph* tag = nullptr;
    EXPECT_FALSE(parseCaseName("StatusPulse", tag));
    EXPECT_FALSE(parseCaseName("statuspulse", tag));
    EXPECT_FALSE(parseCaseName("status", tag));
    EXPECT_FALSE(parseCaseName("", tag));
}

TEST(QuorvaneGlyphTest, EveryGlyphHasStrokesInsideTheGridAndDotsNearCorners) {
    for (auto glyph : kAllGlyphs) {
        SCOPED_TRACE(std::string(caseName(glyph)));
        const auto strokes = glyphStrokes(glyph);
        ASSERT_FALSE(strokes.empty());
        for (const auto& element : strokes) {
            if (element.kind == GlyphElement::Kind::close ||
                element.kind == GlyphElement::Kind::arc)
                continue;
            EXPECT_GE(element.v[0], 0);
            EXPECT_LE(element.v[0], 24);
            EXPECT_GE(element.v[1], 0);
            EXPECT_LE(element.v[1], 24);
        }
        const auto dots = glyphDots(glyph);
        // One dot in the upper half, one in the lower half, on opposite sides.
        EXPECT_LT(dots[0].y, 12);
        EXPECT_GT(dots[1].y, 12);
        EXPECT_NE(dots[0].x < 12, dots[1].x < 12);
    }
}

TEST(QuorvaneGlyphTest, ThreeGlyphsPutTheFirstDotUpperLeft) {
    int upperLeft = 0;
    for (auto glyph : kAllGlyphs) {
        if (glyphDots(glyph)[0].x < 12)
            ++upperLeft;
    }
    EXPECT_EQ(upperLeft, 3);
}

}  // namespace
}  // namespace quorvane
