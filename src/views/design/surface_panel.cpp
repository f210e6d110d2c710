#include "views/design/surface_panel.hpp"

#include <QEvent>
#include <QPainter>

#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"

namespace quorvane {

namespace {

// Room at the bottom for the shadow, which Qt cannot draw outside the widget.
constexpr int kShadowRoom = 3;
// Between a pill's symbol and its text.
constexpr int kPillSymbolGap = 4;

struct PanelStyle {
    double fill;
    ColorRole stroke;
    double strokeOpacity;
    double shadowOpacity;
};

PanelStyle panelStyle(SurfacePanel::Kind kind, ColorScheme scheme) {
    const bool dark = scheme == ColorScheme::dark;
    if (kind == SurfacePanel::Kind::hero)
        return {0.99, ColorRole::heroBorder, dark ? 0.86 : 0.74, dark ? 0.05 : 0.08};
    return {0.98, ColorRole::surfaceBorder, dark ? 0.82 : 0.72, dark ? 0.04 : 0.08};
}

}  // namespace

SurfacePanel::SurfacePanel(Theme& theme, Kind kind, int padding, int cornerRadius, QWidget* parent)
    : QWidget(parent), theme_(theme), kind_(kind), cornerRadius_(cornerRadius) {
    setContentsMargins(padding, padding, padding, padding + kShadowRoom);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    connect(&theme_, &Theme::changed, this, qOverload<>(&QWidget::update));
}

void SurfacePanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const PanelStyle style = panelStyle(kind_, theme_.scheme());
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5 - kShadowRoom);
    const double radius = cornerRadius_;
    // A soft shadow: a few widening translucent outlines below the shape.
    painter.setPen(Qt::NoPen);
    for (int step = kShadowRoom; step >= 1; --step) {
        painter.setBrush(QColor(0, 0, 0, static_cast<int>(255 * style.shadowOpacity / step)));
        painter.drawRoundedRect(shape.translated(0, step), radius, radius);
    }
    painter.setBrush(theme_.color(ColorRole::surface, style.fill));
    painter.drawRoundedRect(shape, radius, radius);
    // The surface is nearly opaque; paint it again so the shadow never shows
    // through the card.
    painter.setBrush(theme_.color(ColorRole::surface));
    painter.drawRoundedRect(shape, radius, radius);
    painter.setPen(QPen(theme_.color(style.stroke, style.strokeOpacity), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(shape, radius, radius);
}

StatusPill::StatusPill(Theme& theme, const QString& text, QWidget* parent)
    : QWidget(parent), theme_(theme), text_(text) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(text);
    connect(&theme_, &Theme::changed, this, qOverload<>(&QWidget::update));
}

void StatusPill::setText(const QString& text) {
    text_ = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void StatusPill::setTint(const QColor& tint) {
    tint_ = tint;
    update();
}

void StatusPill::setTextColor(const QColor& color) {
    textColor_ = color;
    update();
}

void StatusPill::setColors(const QColor& fill, const QColor& border) {
    fill_ = fill;
    border_ = border;
    update();
}

void StatusPill::setInsets(int horizontal, int vertical) {
    horizontalInset_ = horizontal;
    verticalInset_ = vertical;
    updateGeometry();
}

void StatusPill::setSymbol(std::string systemName) {
    symbol_ = std::move(systemName);
    updateGeometry();
    update();
}

QSize StatusPill::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int symbol = symbol_.empty() ? 0 : metrics.height() + kPillSymbolGap;
    return {symbol + metrics.horizontalAdvance(text_) + 2 * horizontalInset_ + 1,
            metrics.height() + 2 * verticalInset_};
}

void StatusPill::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

void StatusPill::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor tint = tint_.isValid() ? tint_ : theme_.color(ColorRole::accent);
    QColor fill = fill_;
    if (!fill.isValid()) {
        fill = tint;
        fill.setAlphaF(tint.alphaF() * 0.11f);
    }
    QColor border = border_;
    if (!border.isValid()) {
        border = tint;
        border.setAlphaF(tint.alphaF() * 0.24f);
    }
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = shape.height() / 2;
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(shape, radius, radius);
    const QColor ink = textColor_.isValid() ? textColor_ : palette().color(QPalette::WindowText);
    QRect textArea = rect().adjusted(horizontalInset_, 0, -horizontalInset_, 0);
    if (!symbol_.empty()) {
        const int side = fontMetrics().height();
        paintSymbol(painter, QRectF(textArea.left(), (height() - side) / 2.0, side, side), symbol_,
                    ink);
        textArea.setLeft(textArea.left() + side + kPillSymbolGap);
    }
    painter.setPen(ink);
    painter.drawText(textArea, Qt::AlignCenter, text_);
}

}  // namespace quorvane
