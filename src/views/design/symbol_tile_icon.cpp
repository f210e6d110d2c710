#include "views/design/symbol_tile_icon.hpp"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "views/access/accessible_role.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/text_baseline.hpp"
#include "views/design/theme.hpp"

namespace quorvane {

namespace {

// The tile's symbol is set at this share of the tile's side.
constexpr double kSymbolFontShare = 0.48;

}  // namespace

SymbolTileIcon::SymbolTileIcon(Theme& theme, std::string systemName, int size, QWidget* parent)
    : QWidget(parent), theme_(theme), systemName_(std::move(systemName)), size_(size) {
    setFixedSize(size, size);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hideFromAccessibility(this);
    connect(&theme_, &Theme::changed, this, qOverload<>(&QWidget::update));
}

void SymbolTileIcon::setSystemName(std::string systemName) {
    systemName_ = std::move(systemName);
    update();
}

void SymbolTileIcon::setForeground(const QColor& color) {
    foreground_ = color;
    update();
}

void SymbolTileIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor ink = foreground_.isValid() ? foreground_ : theme_.color(ColorRole::primary);
    paintSymbolTile(painter, QRectF(0, 0, size_, size_), systemName_, ink, theme_);
}

void paintSymbolTile(QPainter& painter, const QRectF& frame, std::string_view systemName,
                     const QColor& ink, const Theme& theme) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double size = std::min(frame.width(), frame.height());
    const double radius = 0.3 * size;
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme.color(ColorRole::secondary, 0.10));
    painter.drawRoundedRect(frame, radius, radius);
    painter.setPen(QPen(theme.color(ColorRole::secondary, 0.12), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);

    // The symbol fills a square about the height of a 0.48 × size glyph.
    const double symbolSide = kSymbolFontShare * size * 1.15;
    const QPointF centre = frame.center();
    const QRectF symbolRect(centre - QPointF(symbolSide / 2, symbolSide / 2),
                            QSizeF(symbolSide, symbolSide));
    paintSymbol(painter, symbolRect, systemName, ink);

    painter.setPen(Qt::NoPen);
    const double big = 0.16 * size;
    painter.setBrush(theme.color(ColorRole::secondary, 0.36));
    painter.drawEllipse(centre + QPointF(0.25 * size, -0.24 * size), big / 2, big / 2);
    const double small = 0.12 * size;
    painter.setBrush(theme.color(ColorRole::secondary, 0.26));
    painter.drawEllipse(centre + QPointF(-0.27 * size, 0.25 * size), small / 2, small / 2);
    painter.restore();
}

int symbolTileBaseline(const QFont& font, int side) {
    QFont symbolFont = font;
    symbolFont.setPixelSize(std::max(1, static_cast<int>(std::lround(kSymbolFontShare * side))));
    return centredFontBaseline(symbolFont, side);
}

}  // namespace quorvane
