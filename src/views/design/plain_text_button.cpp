#include "views/design/plain_text_button.hpp"

#include <QEvent>
#include <QPainter>

#include "views/access/toggle_button_accessible.hpp"
#include "views/design/theme.hpp"

namespace quorvane {

namespace {

// Room for the focus wash on each side of the title.
constexpr int kHorizontalPadding = 2;
constexpr int kVerticalPadding = 2;

}  // namespace

PlainTextButton::PlainTextButton(Theme& theme, const QString& title, QWidget* parent)
    : QAbstractButton(parent), theme_(theme) {
    setText(title);
    readAsToggleButton(this);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(&theme_, &Theme::changed, this, [this] { update(); });
}

QSize PlainTextButton::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(text()) + 2 * kHorizontalPadding,
            metrics.height() + 2 * kVerticalPadding};
}

void PlainTextButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    if (event->type() == QEvent::EnabledChange)
        update();
    QAbstractButton::changeEvent(event);
}

void PlainTextButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isEnabled() && (isDown() || hasFocus())) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme_.color(ColorRole::accent, isDown() ? 0.18 : 0.12));
        painter.drawRoundedRect(QRectF(rect()), 4, 4);
    }
    painter.setPen(isEnabled() ? theme_.color(ColorRole::accent)
                               : theme_.color(ColorRole::secondary, 0.7));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

}  // namespace quorvane
