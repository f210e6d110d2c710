#include "views/design/chip_button.hpp"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <cmath>

#include "presentation/design/accessible_button_frame.hpp"
#include "presentation/design/mnemonic_text.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr int kSymbolGap = 6;
constexpr int kDetailGap = 2;
constexpr int kUnbounded = 100000;

// Elides only when the text really does not fit: elidedText() measures a
// little wider than horizontalAdvance() for some fallback fonts.
QString fitted(const QString& text, const QFontMetrics& metrics, double width) {
    if (metrics.horizontalAdvance(text) <= width + 1)
        return text;
    return metrics.elidedText(text, Qt::ElideRight, static_cast<int>(width));
}

}  // namespace

ChipButton::ChipButton(Theme& theme, const QString& text, QuorvaneChipProminence prominence,
                       QWidget* parent)
    : ChipButton(theme, text, prominence, ButtonShape::chip, parent) {}

ChipButton::ChipButton(Theme& theme, const QString& text, QuorvaneChipProminence prominence,
                       ButtonShape shape, QWidget* parent)
    : QAbstractButton(parent), theme_(theme), prominence_(prominence), shape_(shape) {
    setText(text);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(shape == ButtonShape::tile ? QSizePolicy::Expanding : QSizePolicy::Fixed,
                  QSizePolicy::Fixed);
    connect(&theme_, &Theme::changed, this, [this] {
        updateGeometry();
        update();
    });
}

void ChipButton::setSymbol(std::string systemName) {
    symbol_ = std::move(systemName);
    updateGeometry();
    update();
}

void ChipButton::setDetailText(const QString& detail) {
    detail_ = detail;
    updateGeometry();
    update();
}

void ChipButton::setAccessibleFrame(double horizontalPadding) {
    framePadding_ = horizontalPadding;
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    updateGeometry();
    update();
}

QString ChipButton::shownText() const {
    return toQString(shownMnemonicText(text().toStdString()));
}

ButtonInsets ChipButton::insets() const {
    if (!framePadding_)
        return buttonInsets(shape_);
    return framedButtonBox(shape_, theme_.textSize(),
                           accessibleButtonFrame(theme_.textSize(), *framePadding_))
        .labelInsets;
}

int ChipButton::wrappedTextHeight(int width) const {
    const QRect area(0, 0, std::max(width, 1), kUnbounded);
    int height = fontMetrics().boundingRect(area, Qt::TextWordWrap, shownText()).height();
    if (!detail_.isEmpty()) {
        const QFontMetrics detailMetrics(theme_.font(QuorvaneFontStyle::caption));
        height += kDetailGap + detailMetrics.boundingRect(area, Qt::TextWordWrap, detail_).height();
    }
    return height;
}

int ChipButton::heightForWidth(int width) const {
    if (!framePadding_)
        return QAbstractButton::heightForWidth(width);
    const ButtonInsets room = insets();
    const int textWidth = width - static_cast<int>(2 * room.horizontal) - symbolRoom();
    const int content = std::max(wrappedTextHeight(textWidth), symbolSide());
    return std::max(minimumHeight(), static_cast<int>(std::ceil(2 * room.vertical)) + content);
}

ButtonLook ChipButton::look() const {
    return buttonLook(shape_, prominence_, theme_.scheme(), isDown(), isEnabled());
}

int ChipButton::symbolSide() const {
    return symbol_.empty() ? 0 : fontMetrics().height();
}

int ChipButton::symbolRoom() const {
    const int symbol = symbolSide();
    return symbol > 0 ? symbol + kSymbolGap : 0;
}

int ChipButton::minimumHeight() const {
    if (framePadding_) {
        const auto frame = accessibleButtonFrame(theme_.textSize(), *framePadding_);
        return static_cast<int>(
            std::lround(framedButtonBox(shape_, theme_.textSize(), frame).minHeight));
    }
    return static_cast<int>(std::lround(buttonMinHeight(shape_, theme_.textSize())));
}

QSize ChipButton::sizeHint() const {
    const ButtonInsets insets = this->insets();
    const QFontMetrics metrics = fontMetrics();
    // Whole pixels rounded up, and room for the shaper's fractions: a label
    // measured to the pixel would be elided when it is drawn.
    int textWidth =
        static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(shownText()))) + 2;
    int textHeight = metrics.height();
    if (!detail_.isEmpty()) {
        const QFontMetrics detailMetrics(theme_.font(QuorvaneFontStyle::caption));
        textWidth = std::max(textWidth, detailMetrics.horizontalAdvance(detail_));
        textHeight += detailMetrics.height();
    }
    const int width = static_cast<int>(2 * insets.horizontal) + textWidth + symbolRoom() + 2;
    if (framePadding_)
        return {width, heightForWidth(width)};
    const int height = std::max(minimumHeight(), static_cast<int>(2 * insets.vertical) +
                                                     std::max(textHeight, symbolSide()));
    return {width, height};
}

QSize ChipButton::minimumSizeHint() const {
    if (shape_ == ButtonShape::chip)
        return sizeHint();
    return {minimumHeight(), sizeHint().height()};
}

void ChipButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange)
        updateGeometry();
    QAbstractButton::changeEvent(event);
}

void ChipButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ButtonLook current = look();
    painter.setOpacity(current.opacity);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = buttonCornerRadius(shape_, frame.height());
    painter.setPen(QPen(theme_.color(current.border), 1));
    painter.setBrush(theme_.color(current.fill));
    painter.drawRoundedRect(frame, radius, radius);
    if (hasFocus()) {
        painter.setPen(QPen(theme_.color(ColorRole::accent, 0.9), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    }

    const ButtonInsets insets = this->insets();
    QRectF content = QRectF(rect()).adjusted(insets.horizontal, insets.vertical, -insets.horizontal,
                                             -insets.vertical);
    const QColor ink = theme_.color(current.text);
    const int symbol = symbolSide();
    const QFontMetrics metrics = fontMetrics();
    const QString label = shownText();
    int labelWidth = metrics.horizontalAdvance(label);
    if (!detail_.isEmpty()) {
        labelWidth = std::max(
            labelWidth,
            QFontMetrics(theme_.font(QuorvaneFontStyle::caption)).horizontalAdvance(detail_));
    }
    labelWidth += symbolRoom();
    double x = shape_ == ButtonShape::chip
                   ? content.left() + std::max(0.0, (content.width() - labelWidth) / 2)
                   : content.left();
    if (symbol > 0) {
        paintSymbol(painter, QRectF(x, content.center().y() - symbol / 2.0, symbol, symbol),
                    symbol_, ink);
        x += symbol + kSymbolGap;
    }
    const QRectF textArea(x, content.top(), content.right() - x, content.height());
    painter.setPen(ink);
    if (framePadding_) {
        paintWrapped(painter, textArea, label, ink);
        return;
    }
    if (detail_.isEmpty()) {
        painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter,
                         fitted(label, metrics, textArea.width()));
        return;
    }
    const QFont detailFont = theme_.font(QuorvaneFontStyle::caption);
    const QFontMetrics detailMetrics(detailFont);
    const double block = metrics.height() + detailMetrics.height();
    const double top = textArea.center().y() - block / 2;
    painter.drawText(QRectF(x, top, textArea.width(), metrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, fitted(label, metrics, textArea.width()));
    painter.setFont(detailFont);
    painter.setPen(theme_.color(ColorRole::secondary));
    painter.drawText(QRectF(x, top + metrics.height(), textArea.width(), detailMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     fitted(detail_, detailMetrics, textArea.width()));
}

// A framed tile's label: the name and the detail under it, each wrapping,
// the block centred top to bottom at the leading edge.
void ChipButton::paintWrapped(QPainter& painter, const QRectF& area, const QString& label,
                              const QColor& ink) const {
    const int width = static_cast<int>(area.width());
    const double top = area.center().y() - wrappedTextHeight(width) / 2.0;
    const QRect bounds(0, 0, std::max(width, 1), kUnbounded);
    const int nameHeight = fontMetrics().boundingRect(bounds, Qt::TextWordWrap, label).height();
    painter.setPen(ink);
    painter.drawText(QRectF(area.left(), top, area.width(), nameHeight),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label);
    if (detail_.isEmpty())
        return;
    const QFont detailFont = theme_.font(QuorvaneFontStyle::caption);
    painter.setFont(detailFont);
    painter.setPen(theme_.color(ColorRole::secondary));
    painter.drawText(
        QRectF(area.left(), top + nameHeight + kDetailGap, area.width(), area.bottom()),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, detail_);
}

TileButton::TileButton(Theme& theme, const QString& text, QuorvaneChipProminence prominence,
                       QWidget* parent)
    : ChipButton(theme, text, prominence, ButtonShape::tile, parent) {}

}  // namespace quorvane
