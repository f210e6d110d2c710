#include "views/detail_form/identity_badge_view.hpp"

#include <QPainter>

#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"
#include "views/detail_form/detail_labels.hpp"

namespace quorvane {

namespace {

constexpr int kHorizontalInset = 9;
constexpr int kVerticalInset = 4;
constexpr int kGap = 5;

}  // namespace

IdentityBadgeView::IdentityBadgeView(Theme& theme, QWidget* parent)
    : QWidget(parent), theme_(theme) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFont(theme.font(QuorvaneFontStyle::caption, QFont::DemiBold));
}

void IdentityBadgeView::setBadge(const IdentityBadge& badge) {
    if (badge == badge_)
        return;
    badge_ = badge;
    setAccessibleName(qText(badge.title));
    updateGeometry();
    update();
}

QColor IdentityBadgeView::toneColor() const {
    switch (badge_.tone) {
        case IdentityBadgeTone::green:
            return theme_.color(ColorRole::systemGreen);
        case IdentityBadgeTone::orange:
            return theme_.color(ColorRole::systemOrange);
        case IdentityBadgeTone::secondary:
            return theme_.color(ColorRole::secondary);
    }
    return theme_.color(ColorRole::secondary);
}

QSize IdentityBadgeView::sizeHint() const {
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    const int text = metrics.horizontalAdvance(qText(badge_.title));
    return {kHorizontalInset * 2 + line + kGap + text, line + kVerticalInset * 2};
}

void IdentityBadgeView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor tone = toneColor();
    QColor fill = tone;
    fill.setAlphaF(0.11);
    QColor border = tone;
    border.setAlphaF(0.24);
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(shape, shape.height() / 2, shape.height() / 2);

    const QFontMetrics metrics(font());
    const int line = metrics.height();
    const QRectF symbol(kHorizontalInset, kVerticalInset, line, line);
    paintSymbol(painter, symbol, badge_.systemImage, tone);
    painter.setPen(tone);
    painter.setFont(font());
    painter.drawText(QRectF(kHorizontalInset + line + kGap, kVerticalInset,
                            width() - kHorizontalInset * 2 - line - kGap, line),
                     Qt::AlignLeft | Qt::AlignVCenter, qText(badge_.title));
}

}  // namespace quorvane
