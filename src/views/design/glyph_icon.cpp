#include "views/design/glyph_icon.hpp"

#include <QPainter>

#include "views/access/accessible_role.hpp"
#include "views/design/glyph_path.hpp"

namespace quorvane {

namespace {

constexpr double kCornerFactor = 0.3;
constexpr double kStrokeInsetFactor = 0.16;
constexpr double kDotInsetFactor = 0.1;

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

}  // namespace

GlyphIcon::GlyphIcon(QuorvaneGlyph glyph, int size, double lineWidth, QColor tint, QWidget* parent)
    : QWidget(parent), glyph_(glyph), size_(size), lineWidth_(lineWidth), tint_(tint) {
    setFixedSize(size, size);
    hideFromAccessibility(this);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GlyphIcon::setTint(const QColor& tint) {
    tint_ = tint;
    update();
}

void GlyphIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(0, 0, size_, size_);
    const double radius = kCornerFactor * size_;
    painter.setPen(Qt::NoPen);
    painter.setBrush(withOpacity(tint_, 0.14));
    painter.drawRoundedRect(frame, radius, radius);
    painter.setPen(QPen(withOpacity(tint_, 0.22), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);

    const double strokeInset = kStrokeInsetFactor * size_;
    QPen pen(tint_, lineWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setMiterLimit(10);
    painter.setPen(pen);
    painter.drawPath(glyphStrokePath(
        glyph_, frame.adjusted(strokeInset, strokeInset, -strokeInset, -strokeInset)));

    const double dotInset = kDotInsetFactor * size_;
    painter.setPen(Qt::NoPen);
    painter.setBrush(withOpacity(tint_, 0.42));
    painter.drawPath(
        glyphDotPath(glyph_, frame.adjusted(dotInset, dotInset, -dotInset, -dotInset)));
}

}  // namespace quorvane
