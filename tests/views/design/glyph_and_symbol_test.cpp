#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "views/design/glyph_path.hpp"
#include "views/design/layout_points.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/symbol_side.hpp"
#include "views/design/symbol_table.hpp"
#include "views/support/ink.hpp"

namespace quorvane {
namespace {

bool passesNear(const QPainterPath& path, QPointF point, double tolerance) {
    for (const auto& polygon : path.toSubpathPolygons()) {
        for (const auto& vertex : polygon) {
            if (QLineF(vertex, point).length() < tolerance)
                return true;
        }
    }
    return false;
}

TEST(GlyphPathTest, ClockwiseGridArcsRunTheShortWayOnScreen) {
    // On a 24-unit rectangle one grid unit is one point.
    const QRectF grid(0, 0, 24, 24);
    // The recovery arc covers 60°, rising through 14.51,9.95; the 300° arc
    // would pass below the centre at 12,14.3 instead.
    const QPainterPath recovery = glyphStrokePath(QuorvaneGlyph::recovery, grid);
    EXPECT_TRUE(passesNear(recovery, {14.51, 9.95}, 0.2));
    EXPECT_TRUE(passesNear(recovery, {13.45, 8.89}, 0.1));
    EXPECT_FALSE(passesNear(recovery, {12, 14.3}, 0.4));
    // The half sun is the upper half circle: through 12,10.9, never 12,18.1.
    const QPainterPath screen = glyphStrokePath(QuorvaneGlyph::screenColor, grid);
    EXPECT_TRUE(passesNear(screen, {12, 10.9}, 0.2));
    EXPECT_FALSE(passesNear(screen, {12, 18.1}, 0.3));
}

TEST(GlyphPathTest, GridIsTheCentredSquareOfTheShorterSide) {
    const QPainterPath wide = glyphStrokePath(QuorvaneGlyph::sceneTiles, QRectF(0, 0, 40, 20));
    const QRectF bounds = wide.boundingRect();
    // 20/24 per unit, starting 10 points in from the left.
    EXPECT_NEAR(bounds.left(), 10 + 4.6 * 20 / 24.0, 0.01);
    EXPECT_NEAR(bounds.right(), 10 + 19.4 * 20 / 24.0, 0.01);
    EXPECT_NEAR(bounds.top(), 4.8 * 20 / 24.0, 0.01);
}

// Every symbol name the windows use; a page must never show a missing icon.
constexpr std::string_view kUsedSymbols[] = {"arrow.clockwise",
                                             "arrow.counterclockwise",
                                             "arrow.down",
                                             "arrow.left.arrow.right",
                                             "arrow.right",
                                             "arrow.triangle.2.circlepath",
                                             "arrow.triangle.2.circlepath.circle",
                                             "arrow.uturn.backward",
                                             "arrow.uturn.backward.circle.fill",
                                             "arrow.uturn.forward.circle",
                                             "camera.filters",
                                             "checkmark",
                                             "checkmark.circle",
                                             "checkmark.circle.fill",
                                             "checkmark.shield",
                                             "chevron.down",
                                             "chevron.right",
                                             "circle.lefthalf.filled",
                                             "circle.righthalf.filled",
                                             "clock.arrow.circlepath",
                                             "display",
                                             "display.trianglebadge.exclamationmark",
                                             "doc.text.magnifyingglass",
                                             "ellipsis.circle",
                                             "exclamationmark.triangle",
                                             "exclamationmark.triangle.fill",
                                             "externaldrive.badge.gearshape",
                                             "eye",
                                             "eye.fill",
                                             "eye.slash",
                                             "gearshape",
                                             "gearshape.fill",
                                             "hand.tap",
                                             "info.circle",
                                             "lifepreserver",
                                             "list.bullet.rectangle",
                                             "macbook",
                                             "macwindow",
                                             "minus",
                                             "minus.circle",
                                             "moon",
                                             "paintpalette",
                                             "pause.circle",
                                             "play.circle",
                                             "plus",
                                             "progress.indicator",
                                             "questionmark.circle",
                                             "rectangle.3.group",
                                             "rectangle.3.group.bubble",
                                             "rectangle.stack",
                                             "rectangle.stack.badge.plus",
                                             "slider.horizontal.3",
                                             "sparkles",
                                             "square.and.arrow.down",
                                             "square.and.arrow.up",
                                             "square.grid.2x2",
                                             "sun.max",
                                             "thermometer.medium",
                                             "trash",
                                             "xmark.octagon.fill"};

int inkedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 60 ? 1 : 0;
    }
    return count;
}

QImage render(std::string_view name) {
    return symbolPixmap(name, Qt::black, 24).toImage();
}

TEST(SymbolTableTest, EveryUsedNameIsDrawnAndDistinctFromThePlaceholder) {
    const QImage placeholder = render("no.such.symbol");
    EXPECT_GT(inkedPixels(placeholder), 0);
    for (auto name : kUsedSymbols) {
        SCOPED_TRACE(std::string(name));
        EXPECT_TRUE(hasSymbol(name));
        const QImage image = render(name);
        EXPECT_GT(inkedPixels(image), 20);
        EXPECT_NE(image, placeholder);
    }
}

TEST(SymbolTableTest, FilledVariantsKnockTheMarkOutOfTheShape) {
    const QImage filled = render("checkmark.circle.fill");
    const QImage outline = render("checkmark.circle");
    EXPECT_GT(inkedPixels(filled), inkedPixels(outline));
    // The centre of the check stays clear inside the filled disc.
    EXPECT_LT(qAlpha(filled.pixel(filled.width() / 2 - 2, filled.height() / 2 + 2)), 200);
}

// One rule sizes every symbol: set at n points it is drawn n pixels square,
// whether it follows its font or is given its points, exactly as the
// symbol painted into an n-pixel square.
TEST(SymbolImageTest, ASymbolOfNPointsIsDrawnNPixelsSquare) {
    for (const double points : {11.0, 14.0, 17.0, 20.16, 22.0}) {
        SCOPED_TRACE(points);
        QWidget page;
        page.resize(60, 60);
        auto* following = new SymbolImage("checkmark.circle.fill", &page);
        QFont font = page.font();
        font.setPointSizeF(qtFontPoints(points));
        following->setFont(font);
        following->setColor(Qt::black);
        following->resize(following->sizeHint());
        page.show();
        const QRect followed = testing::inkBounds(page.grab().toImage(), page.rect());

        const int side = symbolSide(points);
        QImage square(60, 60, QImage::Format_ARGB32_Premultiplied);
        square.fill(page.palette().color(QPalette::Window));
        QPainter painter(&square);
        paintSymbol(painter, QRectF(0, 0, side, side), "checkmark.circle.fill", Qt::black);
        painter.end();
        const QRect painted = testing::inkBounds(square, square.rect());
        // (Centred on its line, the symbol may fall half a pixel apart.)
        EXPECT_NEAR(followed.width(), painted.width(), 1);
        EXPECT_NEAR(followed.height(), painted.height(), 1);
        // The filled circle spans 0.85 of the square.
        EXPECT_NEAR(painted.height(), points * 0.85, 1.5);
    }
}

}  // namespace
}  // namespace quorvane
