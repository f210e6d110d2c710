#include "views/design/symbol_table.hpp"

#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace quorvane {

namespace {

constexpr double kLineWidth = 1.8;  // grid units
constexpr double kContainedScale = 0.56;

// One picture in grid units: paths stroked with the line width and paths
// filled.
struct Drawing {
    QPainterPath strokes;
    QPainterPath fills;
};

QPainterPath circle(double cx, double cy, double r) {
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), r, r);
    return path;
}

QPainterPath polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (const auto& point : points) {
        if (first)
            path.moveTo(point);
        else
            path.lineTo(point);
        first = false;
    }
    return path;
}

// A line pointing out from the centre of the grid at angle `a` (radians,
// clockwise on screen), from radius `inner` to `outer`.
QPainterPath spoke(double a, double inner, double outer) {
    return polyline({{12 + inner * std::cos(a), 12 + inner * std::sin(a)},
                     {12 + outer * std::cos(a), 12 + outer * std::sin(a)}});
}

// `count` spokes evenly around the centre, the first along +x.
QPainterPath evenSpokes(int count, double inner, double outer) {
    QPainterPath path;
    for (int i = 0; i < count; ++i)
        path.addPath(spoke(i * 2 * std::numbers::pi / count, inner, outer));
    return path;
}

QPainterPath roundedRect(double x, double y, double w, double h, double r) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), r, r);
    return path;
}

// An arc in Qt's angles (counter-clockwise degrees) ending in an arrowhead
// that points along the direction of travel.
QPainterPath arcWithArrow(QPointF centre, double r, double start, double sweep) {
    QPainterPath path;
    const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    path.arcMoveTo(box, start);
    path.arcTo(box, start, sweep);
    const double end = (start + sweep) * std::numbers::pi / 180.0;
    const QPointF tip(centre.x() + r * std::cos(end), centre.y() - r * std::sin(end));
    const double direction = sweep < 0 ? -1.0 : 1.0;
    // Screen tangent of the travel direction at the end of the arc.
    const QPointF tangent(-std::sin(end) * direction, -std::cos(end) * direction);
    const double back = std::atan2(-tangent.y(), -tangent.x());
    const double spread = 0.62;
    const double length = 3.6;
    path.moveTo(tip + QPointF(std::cos(back + spread), std::sin(back + spread)) * length);
    path.lineTo(tip);
    path.lineTo(tip + QPointF(std::cos(back - spread), std::sin(back - spread)) * length);
    return path;
}

QPainterPath star(QPointF c, double outer, double inner) {
    QPainterPath path;
    path.moveTo(c.x(), c.y() - outer);
    path.lineTo(c.x() + inner, c.y() - inner);
    path.lineTo(c.x() + outer, c.y());
    path.lineTo(c.x() + inner, c.y() + inner);
    path.lineTo(c.x(), c.y() + outer);
    path.lineTo(c.x() - inner, c.y() + inner);
    path.lineTo(c.x() - outer, c.y());
    path.lineTo(c.x() - inner, c.y() - inner);
    path.closeSubpath();
    return path;
}

QPainterPath mirrored(const QPainterPath& path) {
    QTransform flip;
    flip.translate(24, 0);
    flip.scale(-1, 1);
    return flip.map(path);
}

Drawing mirrored(const Drawing& drawing) {
    return {mirrored(drawing.strokes), mirrored(drawing.fills)};
}

QPainterPath shieldOutline() {
    QPainterPath path;
    path.moveTo(12, 2.8);
    path.lineTo(19.5, 5.6);
    path.lineTo(19.5, 11);
    path.cubicTo(19.5, 15.5, 16.2, 18.8, 12, 21);
    path.cubicTo(7.8, 18.8, 4.5, 15.5, 4.5, 11);
    path.lineTo(4.5, 5.6);
    path.closeSubpath();
    return path;
}

// --- Base pictures ---------------------------------------------------------

Drawing checkmark() {
    return {polyline({{5.5, 12.5}, {9.8, 17}, {18.5, 6.5}}), {}};
}
Drawing xmark() {
    QPainterPath path = polyline({{6.5, 6.5}, {17.5, 17.5}});
    path.addPath(polyline({{17.5, 6.5}, {6.5, 17.5}}));
    return {path, {}};
}
Drawing minus() {
    return {polyline({{5, 12}, {19, 12}}), {}};
}
Drawing plus() {
    QPainterPath path = polyline({{5, 12}, {19, 12}});
    path.addPath(polyline({{12, 5}, {12, 19}}));
    return {path, {}};
}
Drawing info() {
    return {polyline({{12, 10.5}, {12, 18.5}}), circle(12, 6.2, 1.7)};
}
Drawing questionmark() {
    QPainterPath path;
    path.moveTo(8.2, 8.8);
    path.cubicTo(8.2, 4.2, 15.8, 4.2, 15.8, 8.8);
    path.cubicTo(15.8, 11.6, 12, 11.6, 12, 14.6);
    return {path, circle(12, 18.6, 1.6)};
}
Drawing exclamationmark() {
    return {polyline({{12, 4.5}, {12, 13.8}}), circle(12, 18.6, 1.7)};
}
Drawing ellipsis() {
    QPainterPath dots = circle(6, 12, 1.9);
    dots.addPath(circle(12, 12, 1.9));
    dots.addPath(circle(18, 12, 1.9));
    return {{}, dots};
}
Drawing pause() {
    QPainterPath bars = roundedRect(6.5, 5, 3.8, 14, 1);
    bars.addPath(roundedRect(13.7, 5, 3.8, 14, 1));
    return {{}, bars};
}
Drawing play() {
    QPainterPath triangle = polyline({{8, 4.8}, {19.5, 12}, {8, 19.2}});
    triangle.closeSubpath();
    return {{}, triangle};
}
Drawing uturnBackward() {
    QPainterPath path;
    path.moveTo(19, 19.5);
    path.lineTo(19, 12);
    path.quadTo(19, 7.5, 14.5, 7.5);
    path.lineTo(5.5, 7.5);
    path.addPath(polyline({{9.5, 3.5}, {5.5, 7.5}, {9.5, 11.5}}));
    return {path, {}};
}
Drawing uturnForward() {
    return mirrored(uturnBackward());
}
Drawing arrowClockwise() {
    return {arcWithArrow({12, 12.5}, 7.5, 50, -310), {}};
}
Drawing arrowCounterclockwise() {
    return mirrored(arrowClockwise());
}
Drawing arrowTwoCirclepath() {
    QPainterPath path = arcWithArrow({12, 12}, 7.5, 165, -135);
    path.addPath(arcWithArrow({12, 12}, 7.5, -15, -135));
    return {path, {}};
}
Drawing clockArrowCirclepath() {
    QPainterPath path = arcWithArrow({12.5, 12}, 8, 200, -330);
    path.addPath(polyline({{12.5, 7.5}, {12.5, 12.2}, {15.5, 14.2}}));
    return {path, {}};
}
Drawing arrowDown() {
    QPainterPath path = polyline({{12, 4}, {12, 19.5}});
    path.addPath(polyline({{6.5, 14}, {12, 19.5}, {17.5, 14}}));
    return {path, {}};
}
Drawing arrowRight() {
    QPainterPath path = polyline({{4, 12}, {19.5, 12}});
    path.addPath(polyline({{14, 6.5}, {19.5, 12}, {14, 17.5}}));
    return {path, {}};
}
Drawing arrowLeftArrowRight() {
    QPainterPath path = polyline({{4, 8}, {19.5, 8}});
    path.addPath(polyline({{16, 4.5}, {19.5, 8}, {16, 11.5}}));
    path.addPath(polyline({{20, 16}, {4.5, 16}}));
    path.addPath(polyline({{8, 12.5}, {4.5, 16}, {8, 19.5}}));
    return {path, {}};
}
Drawing chevronDown() {
    return {polyline({{6, 9}, {12, 15}, {18, 9}}), {}};
}
Drawing chevronRight() {
    return {polyline({{9, 6}, {15, 12}, {9, 18}}), {}};
}
Drawing display() {
    QPainterPath path = roundedRect(3, 4, 18, 12.5, 2);
    path.addPath(polyline({{12, 16.5}, {12, 19.5}}));
    path.addPath(polyline({{8, 19.8}, {16, 19.8}}));
    return {path, {}};
}
Drawing laptop() {
    QPainterPath path = roundedRect(5, 5, 14, 10.5, 1.5);
    path.addPath(roundedRect(2.5, 16.5, 19, 2.6, 1.2));
    return {path, {}};
}
Drawing appWindow() {
    QPainterPath path = roundedRect(3, 4.5, 18, 15, 2.5);
    path.addPath(polyline({{3, 8.8}, {21, 8.8}}));
    QPainterPath dots = circle(5.9, 6.65, 0.75);
    dots.addPath(circle(8.2, 6.65, 0.75));
    dots.addPath(circle(10.5, 6.65, 0.75));
    return {path, dots};
}
Drawing displayWarning() {
    QPainterPath path = roundedRect(2.5, 3.5, 15, 11, 2);
    path.addPath(polyline({{10, 14.5}, {10, 17.5}}));
    path.addPath(polyline({{6.5, 17.8}, {11, 17.8}}));
    QPainterPath triangle = polyline({{17.5, 11}, {22.5, 20.5}, {12.5, 20.5}});
    triangle.closeSubpath();
    QPainterPath mark = polyline({{17.5, 14}, {17.5, 17}});
    QPainterPathStroker stroker;
    stroker.setWidth(1.4);
    stroker.setCapStyle(Qt::RoundCap);
    triangle = triangle.subtracted(stroker.createStroke(mark)).subtracted(circle(17.5, 19, 0.8));
    return {path, triangle};
}
QPainterPath eyeOutline() {
    QPainterPath path;
    path.moveTo(2.5, 12);
    path.quadTo(12, 2.5, 21.5, 12);
    path.quadTo(12, 21.5, 2.5, 12);
    path.closeSubpath();
    return path;
}
Drawing eye() {
    QPainterPath path = eyeOutline();
    path.addPath(circle(12, 12, 3.2));
    return {path, {}};
}
Drawing eyeFill() {
    return {eyeOutline(), circle(12, 12, 4)};
}
Drawing eyeSlash() {
    QPainterPath path = eyeOutline();
    path.addPath(circle(12, 12, 3.2));
    path.addPath(polyline({{4.5, 4.5}, {19.5, 19.5}}));
    return {path, {}};
}
QPainterPath gearOutline(QPointF c, double outer, double inner) {
    QPainterPath path;
    constexpr int kTeeth = 8;
    for (int i = 0; i < kTeeth * 4; ++i) {
        const double angle = i * (std::numbers::pi * 2 / (kTeeth * 4));
        const double r = (i % 4 < 2) ? outer : inner;
        const QPointF point(c.x() + r * std::cos(angle), c.y() + r * std::sin(angle));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}
Drawing gear() {
    QPainterPath path = gearOutline({12, 12}, 9, 7);
    path.addPath(circle(12, 12, 3));
    return {path, {}};
}
Drawing gearFill() {
    return {{}, gearOutline({12, 12}, 9.5, 7.3).subtracted(circle(12, 12, 3))};
}
Drawing handTap() {
    QPainterPath path = roundedRect(10.2, 8.5, 3.4, 10, 1.7);
    path.addPath(roundedRect(8, 14, 11, 7.5, 3));
    QPainterPath rings;
    const QRectF inner(8.4, 4.2, 7, 7);
    rings.arcMoveTo(inner, 160);
    rings.arcTo(inner, 160, -140);
    const QRectF outer(5.9, 1.7, 12, 12);
    rings.arcMoveTo(outer, 150);
    rings.arcTo(outer, 150, -120);
    path.addPath(rings);
    return {path, {}};
}
Drawing lifepreserver() {
    QPainterPath path = circle(12, 12, 9);
    path.addPath(circle(12, 12, 4));
    for (double angle : {45.0, 135.0, 225.0, 315.0})
        path.addPath(spoke(angle * std::numbers::pi / 180.0, 4, 9));
    return {path, {}};
}
Drawing moon() {
    return {{}, circle(11, 13, 8.5).subtracted(circle(16, 8.5, 7.2))};
}
Drawing sunMax() {
    QPainterPath path = circle(12, 12, 4);
    path.addPath(evenSpokes(8, 6.8, 9.4));
    return {path, {}};
}
Drawing halfCircle(bool left) {
    QPainterPath half;
    half.moveTo(12, 12);
    half.arcTo(QRectF(3, 3, 18, 18), left ? 90 : -90, 180);
    half.closeSubpath();
    return {circle(12, 12, 9), half};
}
Drawing cameraFilters() {
    QPainterPath path = circle(12, 8.5, 5);
    path.addPath(circle(8.8, 14.2, 5));
    path.addPath(circle(15.2, 14.2, 5));
    return {path, {}};
}
Drawing documentSearch() {
    QPainterPath path;
    path.moveTo(15.5, 10);
    path.lineTo(15.5, 5);
    path.quadTo(15.5, 3, 13.5, 3);
    path.lineTo(6.5, 3);
    path.quadTo(4.5, 3, 4.5, 5);
    path.lineTo(4.5, 18);
    path.quadTo(4.5, 20, 6.5, 20);
    path.lineTo(10, 20);
    path.addPath(polyline({{7.5, 7}, {12.5, 7}}));
    path.addPath(polyline({{7.5, 10.5}, {11, 10.5}}));
    path.addPath(circle(15.5, 15.5, 3.6));
    path.addPath(polyline({{18.2, 18.2}, {21, 21}}));
    return {path, {}};
}
Drawing driveWithGear() {
    QPainterPath path = roundedRect(2.5, 7, 15, 8.5, 2);
    QPainterPath fills = circle(13.8, 11.25, 1);
    fills.addPath(gearOutline({18, 17.5}, 4.8, 3.6).subtracted(circle(18, 17.5, 1.6)));
    return {path, fills};
}
Drawing listInRectangle() {
    QPainterPath path = roundedRect(3, 4.5, 18, 15, 2.5);
    QPainterPath dots;
    for (double y : {8.8, 12.0, 15.2}) {
        dots.addPath(circle(7, y, 1));
        path.addPath(polyline({{9.8, y}, {17.5, y}}));
    }
    return {path, dots};
}
Drawing paintPalette() {
    QPainterPath path;
    path.moveTo(12, 3.5);
    path.cubicTo(17.5, 3.5, 21, 7, 21, 11.5);
    path.cubicTo(21, 15, 18, 15.5, 16, 15);
    path.cubicTo(14, 14.5, 13, 16.5, 14, 18);
    path.cubicTo(15, 20, 13.5, 20.8, 12, 20.8);
    path.cubicTo(6.5, 20.8, 3, 16.8, 3, 12);
    path.cubicTo(3, 7, 6.8, 3.5, 12, 3.5);
    QPainterPath dots = circle(8, 9.5, 1.4);
    dots.addPath(circle(12, 7.5, 1.4));
    dots.addPath(circle(16.3, 9.5, 1.4));
    dots.addPath(circle(7.8, 14.5, 1.4));
    return {path, dots};
}
Drawing progressIndicator() {
    return {evenSpokes(8, 4.2, 8.6), {}};
}
Drawing threeGroup() {
    QPainterPath path = roundedRect(3, 5, 8, 6, 1.5);
    path.addPath(roundedRect(13, 5, 8, 6, 1.5));
    path.addPath(roundedRect(8, 13, 8, 6, 1.5));
    return {path, {}};
}
Drawing threeGroupBubble() {
    QPainterPath path = roundedRect(3, 4, 8, 6, 1.5);
    path.addPath(roundedRect(13, 4, 8, 6, 1.5));
    path.addPath(roundedRect(3, 13, 8, 6, 1.5));
    QPainterPath bubble;
    bubble.moveTo(15, 19.5);
    bubble.lineTo(14, 21.5);
    bubble.lineTo(17.5, 19.5);
    bubble.lineTo(19.5, 19.5);
    bubble.quadTo(21, 19.5, 21, 18);
    bubble.lineTo(21, 14.5);
    bubble.quadTo(21, 13, 19.5, 13);
    bubble.lineTo(14.5, 13);
    bubble.quadTo(13, 13, 13, 14.5);
    bubble.lineTo(13, 18);
    bubble.quadTo(13, 19.5, 15, 19.5);
    path.addPath(bubble);
    return {path, {}};
}
Drawing rectangleStack() {
    QPainterPath path = roundedRect(3.5, 9, 17, 11, 2);
    path.addPath(polyline({{5.5, 6}, {18.5, 6}}));
    path.addPath(polyline({{7.5, 3}, {16.5, 3}}));
    return {path, {}};
}
Drawing slidersThree() {
    QPainterPath path;
    QPainterPath knobs;
    const std::initializer_list<std::pair<double, double>> rows = {{6, 8}, {12, 16}, {18, 10.5}};
    for (const auto& [y, knob] : rows) {
        path.addPath(polyline({{3, y}, {21, y}}));
        knobs.addPath(circle(knob, y, 2.4));
    }
    return {path, knobs};
}
Drawing sparkles() {
    QPainterPath fills = star({10, 13.5}, 8, 2.2);
    fills.addPath(star({18.5, 5.5}, 3.5, 1));
    fills.addPath(star({19, 17.5}, 2.6, 0.8));
    return {{}, fills};
}
QPainterPath tray() {
    QPainterPath path;
    path.moveTo(8.5, 9.5);
    path.lineTo(6.5, 9.5);
    path.quadTo(4.5, 9.5, 4.5, 11.5);
    path.lineTo(4.5, 18.5);
    path.quadTo(4.5, 20.5, 6.5, 20.5);
    path.lineTo(17.5, 20.5);
    path.quadTo(19.5, 20.5, 19.5, 18.5);
    path.lineTo(19.5, 11.5);
    path.quadTo(19.5, 9.5, 17.5, 9.5);
    path.lineTo(15.5, 9.5);
    return path;
}
Drawing shareUp() {
    QPainterPath path = tray();
    path.addPath(polyline({{12, 15}, {12, 3}}));
    path.addPath(polyline({{8.5, 6.5}, {12, 3}, {15.5, 6.5}}));
    return {path, {}};
}
Drawing shareDown() {
    QPainterPath path = tray();
    path.addPath(polyline({{12, 3}, {12, 14.5}}));
    path.addPath(polyline({{8.5, 11}, {12, 14.5}, {15.5, 11}}));
    return {path, {}};
}
Drawing gridTwoByTwo() {
    QPainterPath path;
    for (double y : {4.0, 13.0}) {
        for (double x : {4.0, 13.0})
            path.addPath(roundedRect(x, y, 7, 7, 1.6));
    }
    return {path, {}};
}
Drawing thermometer() {
    QPainterPath path;
    path.moveTo(10, 14.5);
    path.lineTo(10, 5);
    path.quadTo(10, 3, 12, 3);
    path.quadTo(14, 3, 14, 5);
    path.lineTo(14, 14.5);
    path.cubicTo(17, 16.5, 15.5, 21.3, 12, 21.3);
    path.cubicTo(8.5, 21.3, 7, 16.5, 10, 14.5);
    path.addPath(polyline({{12, 10}, {12, 16}}));
    return {path, circle(12, 17.6, 2)};
}
Drawing trash() {
    QPainterPath path = polyline({{3.8, 6}, {20.2, 6}});
    path.addPath(polyline({{9, 6}, {9, 3.5}, {15, 3.5}, {15, 6}}));
    QPainterPath can;
    can.moveTo(6, 6);
    can.lineTo(7, 19.5);
    can.quadTo(7.2, 21, 8.7, 21);
    can.lineTo(15.3, 21);
    can.quadTo(16.8, 21, 17, 19.5);
    can.lineTo(18, 6);
    path.addPath(can);
    path.addPath(polyline({{10, 9.5}, {10, 17.5}}));
    path.addPath(polyline({{14, 9.5}, {14, 17.5}}));
    return {path, {}};
}
Drawing placeholder() {
    QPainterPath path = roundedRect(5, 5, 14, 14, 4);
    return {path, circle(12, 12, 1.8)};
}

// --- Containers --------------------------------------------------------------

enum class Container { none, circle, circleFill, triangle, triangleFill, octagonFill, shield };

QPainterPath scaledAbout(const QPainterPath& path, QPointF centre, double factor) {
    QTransform transform;
    transform.translate(centre.x(), centre.y());
    transform.scale(factor, factor);
    transform.translate(-12, -12);
    return transform.map(path);
}

QPainterPath triangleOutline() {
    QPainterPath path = polyline({{12, 3}, {21.8, 20.2}, {2.2, 20.2}});
    path.closeSubpath();
    return path;
}

QPainterPath octagon() {
    QPainterPath path;
    for (int i = 0; i < 8; ++i) {
        const double a = (i + 0.5) * std::numbers::pi / 4;
        const QPointF point(12 + 10.2 * std::cos(a), 12 + 10.2 * std::sin(a));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

QPainterPath strokeOutline(const QPainterPath& path) {
    QPainterPathStroker stroker;
    stroker.setWidth(kLineWidth);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path);
}

Drawing contained(const Drawing& base, Container container) {
    const bool lowered = container == Container::triangle || container == Container::triangleFill;
    const QPointF centre(12, lowered ? 14 : 12);
    const double factor = lowered ? 0.5 : kContainedScale;
    Drawing inner{scaledAbout(base.strokes, centre, factor),
                  scaledAbout(base.fills, centre, factor)};
    QPainterPath shape;
    switch (container) {
        case Container::none:
            return base;
        case Container::circle:
            inner.strokes.addPath(circle(12, 12, 9.6));
            return inner;
        case Container::triangle:
            inner.strokes.addPath(triangleOutline());
            return inner;
        case Container::shield:
            inner.strokes.addPath(shieldOutline());
            return inner;
        case Container::circleFill:
            shape = circle(12, 12, 10.2);
            break;
        case Container::triangleFill:
            shape = triangleOutline();
            break;
        case Container::octagonFill:
            shape = octagon();
            break;
    }
    // Knock the picture out of the filled shape so it reads on any background.
    QPainterPath knockout = strokeOutline(inner.strokes);
    knockout.addPath(inner.fills);
    return {{}, shape.subtracted(knockout.simplified())};
}

struct Entry {
    std::string_view name;
    Drawing (*base)();
    Container container;
};

const std::vector<Entry>& entries() {
    static const std::vector<Entry> table = {
        {"arrow.clockwise", arrowClockwise, Container::none},
        {"arrow.counterclockwise", arrowCounterclockwise, Container::none},
        {"arrow.down", arrowDown, Container::none},
        {"arrow.left.arrow.right", arrowLeftArrowRight, Container::none},
        {"arrow.right", arrowRight, Container::none},
        {"arrow.triangle.2.circlepath", arrowTwoCirclepath, Container::none},
        {"arrow.triangle.2.circlepath.circle", arrowTwoCirclepath, Container::circle},
        {"arrow.uturn.backward", uturnBackward, Container::none},
        {"arrow.uturn.backward.circle.fill", uturnBackward, Container::circleFill},
        {"arrow.uturn.forward.circle", uturnForward, Container::circle},
        {"camera.filters", cameraFilters, Container::none},
        {"checkmark", checkmark, Container::none},
        {"checkmark.circle", checkmark, Container::circle},
        {"checkmark.circle.fill", checkmark, Container::circleFill},
        {"checkmark.shield", checkmark, Container::shield},
        {"chevron.down", chevronDown, Container::none},
        {"chevron.right", chevronRight, Container::none},
        {"circle.lefthalf.filled", [] { return halfCircle(true); }, Container::none},
        {"circle.righthalf.filled", [] { return halfCircle(false); }, Container::none},
        {"clock.arrow.circlepath", clockArrowCirclepath, Container::none},
        {"display", display, Container::none},
        {"display.trianglebadge.exclamationmark", displayWarning, Container::none},
        {"doc.text.magnifyingglass", documentSearch, Container::none},
        {"ellipsis.circle", ellipsis, Container::circle},
        {"exclamationmark.triangle", exclamationmark, Container::triangle},
        {"exclamationmark.triangle.fill", exclamationmark, Container::triangleFill},
        {"externaldrive.badge.gearshape", driveWithGear, Container::none},
        {"eye", eye, Container::none},
        {"eye.fill", eyeFill, Container::none},
        {"eye.slash", eyeSlash, Container::none},
        {"gearshape", gear, Container::none},
        {"gearshape.fill", gearFill, Container::none},
        {"hand.tap", handTap, Container::none},
        {"info.circle", info, Container::circle},
        {"lifepreserver", lifepreserver, Container::none},
        {"list.bullet.rectangle", listInRectangle, Container::none},
        {"macbook", laptop, Container::none},
        {"macwindow", appWindow, Container::none},
        {"minus", minus, Container::none},
        {"minus.circle", minus, Container::circle},
        {"moon", moon, Container::none},
        {"paintpalette", paintPalette, Container::none},
        {"pause.circle", pause, Container::circle},
        {"play.circle", play, Container::circle},
        {"plus", plus, Container::none},
        {"progress.indicator", progressIndicator, Container::none},
        {"questionmark.circle", questionmark, Container::circle},
        {"rectangle.3.group", threeGroup, Container::none},
        {"rectangle.3.group.bubble", threeGroupBubble, Container::none},
        {"rectangle.stack", rectangleStack, Container::none},
        {"rectangle.stack.badge.plus",
         [] {
             Drawing drawing = rectangleStack();
             drawing.strokes.addPath(scaledAbout(plus().strokes, {18.5, 18}, 0.38));
             return drawing;
         },
         Container::none},
        {"slider.horizontal.3", slidersThree, Container::none},
        {"sparkles", sparkles, Container::none},
        {"square.and.arrow.down", shareDown, Container::none},
        {"square.and.arrow.up", shareUp, Container::none},
        {"square.grid.2x2", gridTwoByTwo, Container::none},
        {"sun.max", sunMax, Container::none},
        {"thermometer.medium", thermometer, Container::none},
        {"trash", trash, Container::none},
        {"xmark", xmark, Container::none},
        {"xmark.circle.fill", xmark, Container::circleFill},
        {"xmark.octagon.fill", xmark, Container::octagonFill},
    };
    return table;
}

struct Symbol {
    std::string_view name;
    Drawing drawing;
};

// Every picture is built once, the first time any symbol is asked for; a
// paint only replays the finished paths (the filled containers' knock-outs
// are costly path operations).
const std::vector<Symbol>& symbols() {
    static const std::vector<Symbol> table = [] {
        std::vector<Symbol> built;
        built.reserve(entries().size());
        for (const auto& entry : entries())
            built.push_back({entry.name, contained(entry.base(), entry.container)});
        return built;
    }();
    return table;
}

const Symbol* find(std::string_view name) {
    for (const auto& symbol : symbols()) {
        if (symbol.name == name)
            return &symbol;
    }
    return nullptr;
}

const Drawing& drawingFor(std::string_view name) {
    static const Drawing kPlaceholder = placeholder();
    const Symbol* symbol = find(name);
    return symbol ? symbol->drawing : kPlaceholder;
}

}  // namespace

bool hasSymbol(std::string_view name) {
    return find(name) != nullptr;
}

std::vector<std::string_view> symbolNames() {
    std::vector<std::string_view> names;
    for (const auto& symbol : symbols())
        names.push_back(symbol.name);
    return names;
}

void paintSymbol(QPainter& painter, const QRectF& rect, std::string_view name,
                 const QColor& color) {
    const Drawing& drawing = drawingFor(name);
    const double side = std::min(rect.width(), rect.height());
    const double unit = side / 24.0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.center() - QPointF(side / 2, side / 2));
    painter.scale(unit, unit);
    // Keep lines at least about a device pixel wide on tiny icons.
    QPen pen(color, std::max(kLineWidth, 1.1 / std::max(unit, 0.01)), Qt::SolidLine, Qt::RoundCap,
             Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(drawing.strokes);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(drawing.fills);
    painter.restore();
}

QPixmap symbolPixmap(std::string_view name, const QColor& color, int logicalSize,
                     qreal devicePixelRatio) {
    const int pixels = std::max(1, static_cast<int>(std::ceil(logicalSize * devicePixelRatio)));
    QPixmap pixmap(pixels, pixels);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintSymbol(painter, QRectF(0, 0, logicalSize, logicalSize), name, color);
    return pixmap;
}

QIcon symbolIcon(std::string_view name, const QColor& color, int logicalSize) {
    QIcon icon;
    icon.addPixmap(symbolPixmap(name, color, logicalSize, 1.0));
    icon.addPixmap(symbolPixmap(name, color, logicalSize, 2.0));
    return icon;
}

}  // namespace quorvane
