#include "views/controls/rgb_curve_graph_view.hpp"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "presentation/main_window/rgb_curve_graph_geometry.hpp"
#include "views/access/accessible_role.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/theme.hpp"

namespace quorvane {

namespace {

constexpr int kMinimumHeight = 150;
constexpr int kIdealHeight = 166;
constexpr int kMaximumHeight = 180;
constexpr qreal kCornerRadius = 12;

QColor rgb(double red, double green, double blue, double opacity = 1.0) {
    return QColor::fromRgbF(float(red), float(green), float(blue), float(opacity));
}

QColor withOpacity(QColor colour, double opacity) {
    colour.setAlphaF(float(colour.alphaF() * opacity));
    return colour;
}

QColor plotBackground(bool dark, double opacity) {
    return dark ? rgb(0.239, 0.227, 0.208, opacity) : rgb(1.000, 0.992, 0.976, opacity);
}

}  // namespace

RGBCurveGraphView::RGBCurveGraphView(Theme& theme, QWidget* parent)
    : QWidget(parent), theme_(theme) {
    readAs(this, QAccessible::Chart);
    setMinimumHeight(kMinimumHeight);
    setMaximumHeight(kMaximumHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setCursor(Qt::PointingHandCursor);
    connect(&theme_, &Theme::changed, this, qOverload<>(&QWidget::update));
    setSpokenDescription(this,
                         QStringLiteral("그래프 위 점을 드래그해 입력과 출력 좌표를 조정합니다."));
}

void RGBCurveGraphView::setCurve(double gamma, RGBCurveChannel channel, double controlInput) {
    if (gamma == gamma_ && channel == channel_ && controlInput == controlInput_)
        return;
    gamma_ = gamma;
    channel_ = channel;
    controlInput_ = controlInput;
    update();
}

void RGBCurveGraphView::setAccessibleTexts(const QString& name) {
    if (accessibleName() != name)
        setSpokenName(this, name);
}

QSize RGBCurveGraphView::sizeHint() const {
    return {300, kIdealHeight};
}

QSize RGBCurveGraphView::minimumSizeHint() const {
    return {120, kMinimumHeight};
}

QColor RGBCurveGraphView::channelTint(const Theme& theme, RGBCurveChannel channel) {
    switch (channel) {
        case RGBCurveChannel::rgb:
            return rgb(0.93, 0.58, 0.34);
        case RGBCurveChannel::red:
            return theme.color(ColorRole::systemRed);
        case RGBCurveChannel::green:
            return theme.color(ColorRole::systemGreen);
        case RGBCurveChannel::blue:
            // The desktop's standard blue; the palette has no role for it.
            return theme.scheme() == ColorScheme::dark ? rgb(0.039, 0.518, 1.0)
                                                       : rgb(0.0, 0.478, 1.0);
    }
    return rgb(0.93, 0.58, 0.34);
}

void RGBCurveGraphView::paintEvent(QPaintEvent*) {
    const bool dark = theme_.scheme() == ColorScheme::dark;
    const double w = width();
    const double h = height();
    const QColor tint = channelTint(theme_, channel_);
    const QColor secondary = theme_.color(ColorRole::secondary);
    const QRectF plot(0, 0, w, h);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    // 1. Plot background.
    painter.setPen(Qt::NoPen);
    painter.setBrush(plotBackground(dark, dark ? 0.72 : 0.88));
    painter.drawRoundedRect(plot, kCornerRadius, kCornerRadius);

    // 2. Histogram.
    painter.setBrush(withOpacity(secondary, dark ? 0.24 : 0.18));
    for (const auto& bar :
         RGBCurveGraphGeometry::histogramBars(RGBCurveGraphGeometry::kHistogramBars, w, h))
        painter.drawRoundedRect(QRectF(bar.x, bar.y, bar.width, bar.height), 3, 3);

    // 3. Quarter grid, no lines on the edges.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(dark ? rgb(0.294, 0.278, 0.255, 0.55) : rgb(0.898, 0.878, 0.843, 0.55), 1));
    for (const double f : {0.25, 0.5, 0.75}) {
        painter.drawLine(QPointF(f * w, 0), QPointF(f * w, h));
        painter.drawLine(QPointF(0, f * h), QPointF(w, f * h));
    }

    // 4. Identity diagonal: 5 on, 4 off (Qt counts dashes in pen widths).
    QPen diagonal(withOpacity(secondary, 0.35), 1);
    diagonal.setDashPattern({5, 4});
    painter.setPen(diagonal);
    painter.drawLine(QPointF(0, h), QPointF(w, 0));

    // 5. Curve.
    const auto points = RGBCurveGraphGeometry::curvePoints(gamma_, w, h);
    QPainterPath curve(QPointF(points.front().x, points.front().y));
    for (std::size_t i = 1; i < points.size(); ++i)
        curve.lineTo(points[i].x, points[i].y);
    painter.setPen(QPen(tint, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(curve);

    // 6. Control point: halo, disc, ring, dot.
    const auto point = RGBCurveGraphGeometry::controlPoint(gamma_, controlInput_, w, h);
    const QPointF centre(point.x, point.y);
    painter.setPen(Qt::NoPen);
    painter.setBrush(withOpacity(tint, 0.2));
    painter.drawEllipse(centre, 17, 17);
    painter.setBrush(plotBackground(dark, 1.0));
    painter.drawEllipse(centre, 10, 10);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(tint, 4));
    painter.drawEllipse(centre, 10, 10);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tint);
    painter.drawEllipse(centre, 3, 3);

    // Border, stroked inside the edge.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(withOpacity(tint, 0.38), 1));
    painter.drawRoundedRect(plot.adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius - 0.5,
                            kCornerRadius - 0.5);
}

QPointF RGBCurveGraphView::pointerPair(const QPointF& location) const {
    const auto pair =
        RGBCurveGraphGeometry::pointerPair(location.x(), location.y(), width(), height());
    return {pair.x, pair.y};
}

void RGBCurveGraphView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    const auto pair = pointerPair(event->position());
    emit pointChanged(pair.x(), pair.y());
}

void RGBCurveGraphView::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!dragging_)
        return;
    const auto pair = pointerPair(event->position());
    emit pointChanged(pair.x(), pair.y());
}

void RGBCurveGraphView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!dragging_ || event->button() != Qt::LeftButton)
        return;
    dragging_ = false;
    const auto pair = pointerPair(event->position());
    emit pointCommitted(pair.x(), pair.y());
}

}  // namespace quorvane
