#include "app/shell/tray_icon_glyph.hpp"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quorvane {

namespace {

QPixmap drawDisplayGlyph(int size, const QColor& stroke) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 32.0;
    QPen pen(stroke, 2.4 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    // The screen, its stand and its foot, on a 32-unit grid.
    painter.drawRoundedRect(QRectF(3 * unit, 5 * unit, 26 * unit, 17 * unit), 2.5 * unit,
                            2.5 * unit);
    painter.drawLine(QPointF(16 * unit, 22 * unit), QPointF(16 * unit, 26.5 * unit));
    painter.drawLine(QPointF(10 * unit, 27 * unit), QPointF(22 * unit, 27 * unit));
    return pixmap;
}

}  // namespace

QIcon trayIconGlyph(TrayGlyphVariant variant) {
    const QColor stroke =
        variant == TrayGlyphVariant::light ? QColor(32, 32, 36) : QColor(240, 240, 244);
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128})
        icon.addPixmap(drawDisplayGlyph(size, stroke));
    return icon;
}

TrayGlyphVariant trayGlyphVariantFor(const QColor& trayBackground) {
    return trayBackground.lightnessF() < 0.5 ? TrayGlyphVariant::dark : TrayGlyphVariant::light;
}

}  // namespace quorvane
