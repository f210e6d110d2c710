#include "views/design/readout_label.hpp"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include "views/access/accessible_role.hpp"
#include "views/access/spoken_text.hpp"

namespace quorvane {

namespace {

bool isDigit(QChar character) {
    return character >= QLatin1Char('0') && character <= QLatin1Char('9');
}

}  // namespace

ReadoutLabel::ReadoutLabel(QWidget* parent) : QWidget(parent) {
    // A value shown as text, and read as such.
    readAs(this, QAccessible::StaticText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ReadoutLabel::setText(const QString& text) {
    if (text == text_)
        return;
    const bool resized = textWidth(text) != textWidth(text_);
    text_ = text;
    setSpokenName(this, text);
    if (resized)
        updateGeometry();
    update();
}

void ReadoutLabel::setAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

double ReadoutLabel::digitWidth() const {
    const QFontMetricsF metrics(font());
    double widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(digit)));
    return widest;
}

double ReadoutLabel::textWidth(const QString& text) const {
    const QFontMetricsF metrics(font());
    const double digit = digitWidth();
    double width = 0;
    for (const QChar character : text)
        width += isDigit(character) ? digit : metrics.horizontalAdvance(character);
    return width;
}

QSize ReadoutLabel::sizeHint() const {
    const QMargins margins = contentsMargins();
    return {static_cast<int>(std::ceil(textWidth(text_))) + 1 + margins.left() + margins.right(),
            fontMetrics().height() + margins.top() + margins.bottom()};
}

std::optional<int> ReadoutLabel::firstBaseline(int) const {
    const QMargins margins = contentsMargins();
    if (!(alignment_ & Qt::AlignVCenter))
        return margins.top() + static_cast<int>(std::lround(QFontMetricsF(font()).ascent()));
    return margins.top() +
           centredFontBaseline(font(), sizeHint().height() - margins.top() - margins.bottom());
}

void ReadoutLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

void ReadoutLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    const QRectF area = contentsRect();
    const QFontMetricsF metrics(font());
    const double width = textWidth(text_);
    double x = area.left();
    if (alignment_ & Qt::AlignRight)
        x = area.right() + 1 - width;
    else if (alignment_ & Qt::AlignHCenter)
        x = area.left() + (area.width() - width) / 2;
    double baseline = area.top() + metrics.ascent();
    if (alignment_ & Qt::AlignVCenter)
        baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    const double digit = digitWidth();
    for (const QChar character : text_) {
        const double advance = metrics.horizontalAdvance(character);
        // A digit sits in the middle of its cell.
        const double cell = isDigit(character) ? digit : advance;
        painter.drawText(QPointF(x + (cell - advance) / 2, baseline), QString(character));
        x += cell;
    }
}

}  // namespace quorvane
