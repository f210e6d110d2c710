#include "views/controls/nudge_button.hpp"

#include <QPainter>
#include <cmath>

#include "views/access/spoken_text.hpp"
#include "views/access/toggle_button_accessible.hpp"
#include "views/design/symbol_side.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"

namespace quorvane {

NudgeButton::NudgeButton(Theme& theme, const std::string& title,
                         QuorvaneAdjustmentNudgeDirection direction, double step,
                         std::function<void()> action, QWidget* parent)
    : QAbstractButton(parent), theme_(theme), direction_(direction) {
    const QString label =
        QString::fromStdString(QuorvaneAdjustmentNudge::accessibilityLabel(title, direction, step));
    setSpokenName(this, label);
    // The tooltip names the symbol for the mouse; read once, as the name.
    setToolTip(label);
    readAsToggleButton(this);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] {
        if (action)
            action();
    });
    connect(&theme_, &Theme::changed, this, [this] {
        updateGeometry();
        update();
    });
}

QSize NudgeButton::sizeHint() const {
    const int side =
        static_cast<int>(std::lround(QuorvaneAdjustmentNudge::squareSide(theme_.textSize())));
    return {side, side};
}

void NudgeButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown() || hasFocus()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme_.color(ColorRole::secondary, isDown() ? 0.18 : 0.10));
        painter.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 6, 6);
    }
    // The symbol is drawn at 11 points times the text scale.
    const double side = symbolSide(QuorvaneAdjustmentNudge::kSymbolBasePoints * theme_.scale());
    const QRectF square(QPointF(width() / 2.0 - side / 2, height() / 2.0 - side / 2),
                        QSizeF(side, side));
    QColor ink =
        isEnabled() ? theme_.color(ColorRole::primary) : theme_.color(ColorRole::secondary, 0.6);
    paintSymbol(painter, square, QuorvaneAdjustmentNudge::symbolName(direction_), ink);
}

}  // namespace quorvane
