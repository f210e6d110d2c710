#include "views/panel/panel_picker_chip.hpp"

#include <QEvent>
#include <QPainter>
#include <cmath>

#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"

namespace quorvane {

namespace {

constexpr int kHorizontalPadding = 8;
constexpr int kVerticalPadding = 5;
constexpr int kGap = 4;
constexpr double kCornerRadius = 7;

}  // namespace

PanelPickerChip::PanelPickerChip(Theme& theme, const QString& text, QWidget* parent)
    : QAbstractButton(parent), theme_(theme) {
    setText(text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

int PanelPickerChip::chevronSide() const {
    return static_cast<int>(std::round(9 * theme_.scale()));
}

QSize PanelPickerChip::sizeHint() const {
    const int textWidth =
        static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(text()))) + 2;
    const int height = std::max(fontMetrics().height(), chevronSide()) + 2 * kVerticalPadding;
    return {2 * kHorizontalPadding + textWidth + kGap + chevronSide(), height};
}

void PanelPickerChip::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QAbstractButton::changeEvent(event);
}

void PanelPickerChip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = theme_.scheme() == ColorScheme::dark;
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme_.color(ColorRole::track, isDown() ? 1.0 : (dark ? 0.9 : 0.8)));
    painter.drawRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    if (hasFocus()) {
        painter.setPen(QPen(theme_.color(ColorRole::accent, 0.9), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), kCornerRadius - 1,
                                kCornerRadius - 1);
    }
    const QColor ink = theme_.color(ColorRole::primary);
    painter.setPen(ink);
    painter.setFont(font());
    const QRect textArea =
        rect().adjusted(kHorizontalPadding, 0, -(kHorizontalPadding + kGap + chevronSide()), 0);
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, text());
    const int side = chevronSide();
    paintSymbol(painter,
                QRectF(width() - kHorizontalPadding - side, (height() - side) / 2.0, side, side),
                "chevron.down", ink);
}

}  // namespace quorvane
