#include "views/design/chip_button.hpp"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <cmath>

#include "presentation/design/accessible_button_frame.hpp"
#include "presentation/design/mnemonic_text.hpp"
#include "views/design/focus_ring.hpp"
#include "views/design/symbol_side.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/symbol_tile_icon.hpp"
#include "views/design/text_baseline.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapped_text.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr int kSymbolGap = 6;
constexpr int kDetailGap = 2;
// The narrowest an action chip's title gets before the chip stops shrinking.
constexpr int kMinimumTitleCharacters = 4;

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

void ChipButton::setRole(ButtonRole role) {
    role_ = role;
    update();
}

void ChipButton::setProminence(QuorvaneChipProminence prominence) {
    if (prominence == prominence_)
        return;
    prominence_ = prominence;
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

void ChipButton::setActionLabel(const ActionButtonLabel& label) {
    actionLabel_ = label;
    QSizePolicy policy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    updateGeometry();
    update();
}

void ChipButton::setFrame(const ButtonFrame& frame) {
    frame_ = frame;
    updateGeometry();
    update();
}

QString ChipButton::shownText() const {
    return toQString(shownMnemonicText(text().toStdString()));
}

ButtonInsets ChipButton::insets() const {
    if (frame_)
        return frame_->insets;
    if (!framePadding_)
        return buttonInsets(shape_);
    return framedButtonBox(shape_, theme_.textSize(),
                           accessibleButtonFrame(theme_.textSize(), *framePadding_))
        .labelInsets;
}

int ChipButton::wrappedTextHeight(int width) const {
    const double lineWidth = std::max(width, 1);
    double height = layOutWrappedText(shownText(), font(), lineWidth, 0);
    if (!detail_.isEmpty()) {
        height += kDetailGap +
                  layOutWrappedText(detail_, theme_.font(QuorvaneFontStyle::caption), lineWidth, 0);
    }
    return static_cast<int>(std::ceil(height));
}

int ChipButton::actionTitleHeight(double titleWidth) const {
    return static_cast<int>(std::ceil(layOutWrappedText(
        shownText(), font(), std::max(titleWidth, 1.0), actionLabel_->titleLineLimit)));
}

BaselineLine ChipButton::actionLabelLine(double titleWidth) const {
    const int tile = symbolSide();
    const int title = actionTitleHeight(titleWidth);
    if (actionLabel_->alignment == ActionLabelAlignment::firstBaseline && tile > 0) {
        return alignOnFirstBaseline(
            {{tile, symbolTileBaseline(font(), tile)},
             {title, firstLineBaseline(font(), shownText(), std::max(titleWidth, 1.0))}});
    }
    const int height = std::max(tile, title);
    return {{(height - tile) / 2, (height - title) / 2}, 0, height};
}

int ChipButton::heightForWidth(int width) const {
    if (actionLabel_) {
        const double titleWidth = actionButtonTitleWidth(*actionLabel_, width);
        return static_cast<int>(std::ceil(actionButtonHeight(*actionLabel_, theme_.textSize(),
                                                             actionLabelLine(titleWidth).height)));
    }
    if (!framePadding_)
        return QAbstractButton::heightForWidth(width);
    const ButtonInsets room = insets();
    const int textWidth = width - static_cast<int>(2 * room.horizontal) - symbolRoom();
    const int content = std::max(wrappedTextHeight(textWidth), symbolSide());
    return std::max(minimumHeight(), static_cast<int>(std::ceil(2 * room.vertical)) + content);
}

ButtonLook ChipButton::look() const {
    return buttonLook(shape_, prominence_, role_, theme_.scheme(), isDown(), isEnabled());
}

int ChipButton::symbolSide() const {
    if (symbol_.empty())
        return 0;
    if (actionLabel_)
        return static_cast<int>(std::lround(actionLabel_->symbolTileSide));
    return quorvane::symbolSide(font());
}

int ChipButton::symbolRoom() const {
    const int symbol = symbolSide();
    if (symbol == 0)
        return 0;
    return symbol +
           (actionLabel_ ? static_cast<int>(std::lround(actionLabel_->spacing)) : kSymbolGap);
}

int ChipButton::minimumHeight() const {
    if (frame_)
        return static_cast<int>(std::lround(frame_->minHeight));
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
    if (framePadding_ || actionLabel_)
        return {width, heightForWidth(width)};
    const int height = std::max(minimumHeight(), static_cast<int>(2 * insets.vertical) +
                                                     std::max(textHeight, symbolSide()));
    return {width, height};
}

QSize ChipButton::minimumSizeHint() const {
    if (actionLabel_) {
        const QSize ideal = sizeHint();
        const int least = static_cast<int>(2 * insets().horizontal) + symbolRoom() +
                          fontMetrics().averageCharWidth() * kMinimumTitleCharacters;
        const int width = std::min(ideal.width(), least);
        return {width, heightForWidth(width)};
    }
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
    const double radius =
        frame_ ? frame_->cornerRadius : buttonCornerRadius(shape_, frame.height());
    painter.setPen(QPen(theme_.color(current.border), 1));
    painter.setBrush(theme_.color(current.fill));
    painter.drawRoundedRect(frame, radius, radius);
    if (hasFocus())
        paintFocusRing(painter, frame.adjusted(1, 1, -1, -1), radius - 1,
                       theme_.color(ColorRole::accent));

    const QColor ink =
        toQColor(buttonTextColor(shape_, prominence_, role_, theme_.scheme(), isEnabled()));
    if (actionLabel_) {
        paintActionLabel(painter, ink);
        return;
    }
    const ButtonInsets insets = this->insets();
    QRectF content = QRectF(rect()).adjusted(insets.horizontal, insets.vertical, -insets.horizontal,
                                             -insets.vertical);
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
    const double width = std::max(area.width(), 1.0);
    const double top = area.center().y() - wrappedTextHeight(static_cast<int>(width)) / 2.0;
    painter.setPen(ink);
    const double nameHeight =
        layOutWrappedText(label, font(), width, 0, &painter, QPointF(area.left(), top));
    if (detail_.isEmpty())
        return;
    painter.setPen(theme_.color(ColorRole::secondary));
    layOutWrappedText(detail_, theme_.font(QuorvaneFontStyle::caption), width, 0, &painter,
                      QPointF(area.left(), top + nameHeight + kDetailGap));
}

// An action chip's label: the symbol tile and the title beside it, centred
// on each other, the pair centred in the chip.
void ChipButton::paintActionLabel(QPainter& painter, const QColor& ink) const {
    const ButtonInsets insets = this->insets();
    const QRectF content = QRectF(rect()).adjusted(insets.horizontal, insets.vertical,
                                                   -insets.horizontal, -insets.vertical);
    const QString label = shownText();
    const double room = actionButtonTitleWidth(*actionLabel_, width());
    const double titleWidth =
        std::min(room, std::ceil(QFontMetricsF(font()).horizontalAdvance(label)) + 1);
    const int tile = symbolSide();
    const double block = symbolRoom() + titleWidth;
    double x = content.left() + std::max(0.0, (content.width() - block) / 2);
    const double middle = content.center().y();
    double tileTop = middle - tile / 2.0;
    double titleTop = middle - actionTitleHeight(titleWidth) / 2.0;
    if (actionLabel_->alignment == ActionLabelAlignment::firstBaseline) {
        // The tile and the title stand on one line; the pair is centred.
        const BaselineLine line = actionLabelLine(titleWidth);
        const double top = middle - line.height / 2.0;
        tileTop = top + line.tops[0];
        titleTop = top + line.tops[1];
    }
    if (tile > 0) {
        paintSymbolTile(painter, QRectF(x, tileTop, tile, tile), symbol_, ink, theme_);
        x += symbolRoom();
    }
    painter.setPen(ink);
    layOutWrappedText(label, font(), std::max(titleWidth, 1.0), actionLabel_->titleLineLimit,
                      &painter, QPointF(x, titleTop));
}

TileButton::TileButton(Theme& theme, const QString& text, QuorvaneChipProminence prominence,
                       QWidget* parent)
    : ChipButton(theme, text, prominence, ButtonShape::tile, parent) {}

}  // namespace quorvane
