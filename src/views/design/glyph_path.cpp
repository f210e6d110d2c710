#include "views/design/glyph_path.hpp"

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

struct Grid {
    QPointF origin;
    double unit = 1;

    QPointF point(double x, double y) const { return origin + QPointF(x * unit, y * unit); }
    double length(double value) const { return value * unit; }
};

Grid gridFor(const QRectF& rect) {
    const double side = std::min(rect.width(), rect.height());
    return {rect.center() - QPointF(side / 2, side / 2), side / 24.0};
}

// Grid angles run from +x towards +y (clockwise on screen); Qt's run
// counter-clockwise, so both the start and the sweep change sign.
void addArc(QPainterPath& path, const Grid& grid, const GlyphElement& element) {
    const double radius = grid.length(element.v[2]);
    const QPointF centre = grid.point(element.v[0], element.v[1]);
    const double start = element.v[3];
    const double end = element.v[4];
    double sweep = element.decreasing ? -std::fmod(start - end + 360.0, 360.0)
                                      : std::fmod(end - start + 360.0, 360.0);
    if (sweep == 0)
        sweep = element.decreasing ? -360.0 : 360.0;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    path.arcTo(box, -start, -sweep);
}

void addElement(QPainterPath& path, const Grid& grid, const GlyphElement& element) {
    const auto& v = element.v;
    switch (element.kind) {
        case GlyphElement::Kind::move:
            path.moveTo(grid.point(v[0], v[1]));
            return;
        case GlyphElement::Kind::line:
            path.lineTo(grid.point(v[0], v[1]));
            return;
        case GlyphElement::Kind::quad:
            path.quadTo(grid.point(v[2], v[3]), grid.point(v[0], v[1]));
            return;
        case GlyphElement::Kind::curve:
            path.cubicTo(grid.point(v[2], v[3]), grid.point(v[4], v[5]), grid.point(v[0], v[1]));
            return;
        case GlyphElement::Kind::close:
            path.closeSubpath();
            return;
        case GlyphElement::Kind::rect:
            path.addRoundedRect(
                QRectF(grid.point(v[0], v[1]), QSizeF(grid.length(v[2]), grid.length(v[3]))),
                grid.length(v[4]), grid.length(v[4]));
            return;
        case GlyphElement::Kind::oval:
            path.addEllipse(
                QRectF(grid.point(v[0], v[1]), QSizeF(grid.length(v[2]), grid.length(v[3]))));
            return;
        case GlyphElement::Kind::arc:
            addArc(path, grid, element);
            return;
    }
}

}  // namespace

QPainterPath glyphStrokePath(QuorvaneGlyph glyph, const QRectF& rect) {
    const Grid grid = gridFor(rect);
    QPainterPath path;
    for (const auto& element : glyphStrokes(glyph))
        addElement(path, grid, element);
    return path;
}

QPainterPath glyphDotPath(QuorvaneGlyph glyph, const QRectF& rect) {
    const Grid grid = gridFor(rect);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const auto& dot : glyphDots(glyph)) {
        path.addEllipse(
            QRectF(grid.point(dot.x, dot.y), QSizeF(grid.length(dot.side), grid.length(dot.side))));
    }
    return path;
}

}  // namespace quorvane
