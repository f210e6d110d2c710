#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QRectF>
#include <string_view>
#include <vector>

class QPainter;

namespace quorvane {

// Small icons of our own drawing for every system symbol name the windows use
// ("display", "eye.slash", "checkmark.circle.fill", ...), in one table keyed
// by that name. Each is line art on a 24-unit grid drawn in one colour; names
// ending in ".circle", ".circle.fill", ".triangle", ".octagon.fill" put the
// base picture inside that outline or knock it out of that filled shape.
// An unknown name draws a neutral placeholder (never nothing) so a page never
// shows a missing icon; tests keep the table complete.
//
// Usage:
//   paintSymbol(painter, QRectF(0, 0, 16, 16), "trash", theme.color(ColorRole::primary));
//   button->setIcon(symbolIcon("arrow.clockwise", textColour, 16));
bool hasSymbol(std::string_view name);
std::vector<std::string_view> symbolNames();

// Draws the symbol in the square of the rectangle's shorter side, centred.
void paintSymbol(QPainter& painter, const QRectF& rect, std::string_view name, const QColor& color);
QPixmap symbolPixmap(std::string_view name, const QColor& color, int logicalSize,
                     qreal devicePixelRatio = 1.0);
QIcon symbolIcon(std::string_view name, const QColor& color, int logicalSize);

}  // namespace quorvane
