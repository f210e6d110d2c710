#include "views/design/disclosure_button.hpp"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "views/access/toggle_button_accessible.hpp"
#include "views/design/symbol_side.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"

namespace quorvane {

namespace {

constexpr int kChevronGap = 6;
constexpr int kSymbolGap = 5;
constexpr int kVerticalInset = 2;

}  // namespace

DisclosureButton::DisclosureButton(Theme& theme, const QString& title, QuorvaneFontStyle style,
                                   QFont::Weight weight, QWidget* parent)
    : QAbstractButton(parent), theme_(theme) {
    setText(title);
    setCheckable(true);
    readAsToggleButton(this);
    // Reached by the keyboard only, so a click leaves no focus frame behind.
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    const auto restyle = [this, style, weight] {
        setFont(theme_.font(style, weight));
        update();
    };
    restyle();
    connect(&theme_, &Theme::changed, this, restyle);
}

void DisclosureButton::setSymbol(std::string systemName) {
    symbol_ = std::move(systemName);
    updateGeometry();
    update();
}

int DisclosureButton::chevronSide() const {
    return fontMetrics().capHeight() + 2;
}

int DisclosureButton::symbolSide() const {
    return symbol_.empty() ? 0 : quorvane::symbolSide(font());
}

QSize DisclosureButton::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    int width = chevronSide() + kChevronGap + metrics.horizontalAdvance(text());
    if (!symbol_.empty())
        width += symbolSide() + kSymbolGap;
    return {width + 2, metrics.height() + 2 * kVerticalInset};
}

void DisclosureButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QAbstractButton::changeEvent(event);
}

void DisclosureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QColor ink = palette().color(group, QPalette::WindowText);
    QColor chevron = theme_.color(ColorRole::secondary);
    if (!isEnabled())
        chevron.setAlphaF(chevron.alphaF() * 0.6f);
    const bool leftToRight = layoutDirection() == Qt::LeftToRight;
    const int middle = height() / 2;
    int x = 1;
    const auto place = [this, leftToRight](int from, int width) {
        return leftToRight ? from : this->width() - from - width;
    };
    const int side = chevronSide();
    paintSymbol(painter, QRectF(place(x, side), middle - side / 2.0, side, side),
                isChecked() ? "chevron.down" : "chevron.right", chevron);
    x += side + kChevronGap;
    if (!symbol_.empty()) {
        const int symbolSize = symbolSide();
        paintSymbol(painter,
                    QRectF(place(x, symbolSize), middle - symbolSize / 2.0, symbolSize, symbolSize),
                    symbol_, ink);
        x += symbolSize + kSymbolGap;
    }
    const int textWidth = std::max(0, width() - x);
    painter.setPen(ink);
    painter.drawText(QRect(place(x, textWidth), 0, textWidth, height()),
                     Qt::AlignVCenter | Qt::AlignLeading | Qt::TextSingleLine, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace quorvane
