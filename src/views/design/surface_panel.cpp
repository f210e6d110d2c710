#include "views/design/surface_panel.hpp"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include "presentation/design/surface_look.hpp"
#include "views/access/accessible_role.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/surface_shadow.hpp"
#include "views/design/symbol_side.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"

namespace quorvane {

namespace {

// Between a pill's symbol and its text.
constexpr int kPillSymbolGap = 4;

}  // namespace

SurfacePanel::SurfacePanel(Theme& theme, Kind kind, int padding, int cornerRadius, QWidget* parent)
    : QWidget(parent), theme_(theme), kind_(kind), cornerRadius_(cornerRadius) {
    setContentsMargins(padding, padding, padding, padding);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    connect(&theme_, &Theme::changed, this, [this] {
        update();
        // The shadow lies in the host: it changes with the scheme too.
        if (shadowLayer_)
            shadowLayer_->host()->update();
    });
    joinShadowHost();
}

SurfacePanel::~SurfacePanel() {
    if (shadowLayer_)
        shadowLayer_->leave(this);
}

QRectF SurfacePanel::surfaceShape() const {
    return QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
}

SurfaceShadow SurfacePanel::shadow() const {
    return surfaceLook(kind_, theme_.scheme()).shadow;
}

// The host is found again whenever the panel may have moved into another
// one: a new parent, or being shown (an ancestor may have been moved while
// it was hidden).
bool SurfacePanel::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show)
        joinShadowHost();
    return QWidget::event(event);
}

void SurfacePanel::joinShadowHost() {
    QWidget* host = SurfaceShadowLayer::hostFor(this);
    SurfaceShadowLayer* layer = host ? SurfaceShadowLayer::of(host) : nullptr;
    if (layer == shadowLayer_) {
        if (layer)
            layer->join(this);
        return;
    }
    if (shadowLayer_)
        shadowLayer_->leave(this);
    shadowLayer_ = layer;
    if (layer)
        layer->join(this);
}

void SurfacePanel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const SurfaceLook look = surfaceLook(kind_, theme_.scheme());
    const QRectF shape = surfaceShape();
    const double radius = cornerRadius_;
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme_.color(look.fill));
    painter.drawRoundedRect(shape, radius, radius);
    painter.setPen(QPen(theme_.color(look.stroke), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(shape, radius, radius);
    // Panels inside this one cast their shadows on its surface.
    if (auto* layer = SurfaceShadowLayer::existing(this))
        layer->paint(painter, event->region());
}

StatusPill::StatusPill(Theme& theme, const QString& text, QWidget* parent)
    : QWidget(parent), theme_(theme), text_(text) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // A pill is a few words on screen, and reads as such.
    readAs(this, QAccessible::StaticText);
    setSpokenName(this, text);
    connect(&theme_, &Theme::changed, this, qOverload<>(&QWidget::update));
}

void StatusPill::setText(const QString& text) {
    setText(text, text);
}

void StatusPill::setText(const QString& text, const QString& spoken) {
    text_ = text;
    setSpokenName(this, spoken);
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

void StatusPill::setTone(ColorRole role, PageGround page) {
    setTint(theme_.color(role));
    setTextColor(theme_.textColor(role, {page, {{role, kStatusPillFillOpacity}}}));
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
    const int symbol = symbol_.empty() ? 0 : symbolSide(font()) + kPillSymbolGap;
    return {symbol + metrics.horizontalAdvance(text_) + 2 * horizontalInset_ + 1,
            metrics.height() + 2 * verticalInset_};
}

std::optional<int> StatusPill::firstBaseline(int) const {
    return centredTextBaseline(font(), text_, sizeHint().height());
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
        fill.setAlphaF(tint.alphaF() * static_cast<float>(kStatusPillFillOpacity));
    }
    QColor border = border_;
    if (!border.isValid()) {
        border = tint;
        border.setAlphaF(tint.alphaF() * static_cast<float>(kStatusPillBorderOpacity));
    }
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = shape.height() / 2;
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(shape, radius, radius);
    const QColor ink = textColor_.isValid() ? textColor_ : palette().color(QPalette::WindowText);
    QRect textArea = rect().adjusted(horizontalInset_, 0, -horizontalInset_, 0);
    if (!symbol_.empty()) {
        const int side = symbolSide(font());
        paintSymbol(painter, QRectF(textArea.left(), (height() - side) / 2.0, side, side), symbol_,
                    ink);
        textArea.setLeft(textArea.left() + side + kPillSymbolGap);
    }
    painter.setPen(ink);
    painter.drawText(textArea, Qt::AlignCenter, text_);
}

}  // namespace quorvane
