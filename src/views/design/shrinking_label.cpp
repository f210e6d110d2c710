#include "views/design/shrinking_label.hpp"

#include <QPainter>
#include <algorithm>

#include "presentation/design/text_fit.hpp"

namespace quorvane {

ShrinkingLabel::ShrinkingLabel(const QString& text, double minimumScaleFactor, QWidget* parent)
    : QLabel(parent), minimumScaleFactor_(std::clamp(minimumScaleFactor, 0.1, 1.0)) {
    // The format first: changing it sets the text again, and Qt would
    // announce the new label's name twice.
    setTextFormat(Qt::PlainText);
    setText(text);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ShrinkingLabel::setElideMode(Qt::TextElideMode mode) {
    elideMode_ = mode;
    update();
}

void ShrinkingLabel::setTextColor(const QColor& color) {
    color_ = color;
    update();
}

QFont ShrinkingLabel::fittedFont(int width) const {
    QFont candidate = font();
    const double full = font().pointSizeF() > 0 ? font().pointSizeF() : 12.0;
    const auto fit = fitTextToLines(full, minimumScaleFactor_, 1, [&](double size) {
        candidate.setPointSizeF(size);
        return QFontMetricsF(candidate).horizontalAdvance(text()) <= width ? 1 : 2;
    });
    candidate.setPointSizeF(fit.pointSize);
    return candidate;
}

QString ShrinkingLabel::shownText(int width) const {
    return QFontMetrics(fittedFont(width)).elidedText(text(), elideMode_, width);
}

QSize ShrinkingLabel::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 1, metrics.height()};
}

QSize ShrinkingLabel::minimumSizeHint() const {
    const QFontMetrics metrics(font());
    const int least = metrics.horizontalAdvance(QStringLiteral("…")) * 3;
    return {std::min(least, sizeHint().width()), metrics.height()};
}

void ShrinkingLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QFont fitted = fittedFont(area.width());
    painter.setFont(fitted);
    painter.setPen(color_.isValid() ? color_ : palette().color(foregroundRole()));
    const Qt::Alignment horizontal = alignment() & Qt::AlignHorizontal_Mask;
    painter.drawText(
        area, static_cast<int>((horizontal ? horizontal : Qt::AlignLeading) | Qt::AlignVCenter),
        QFontMetrics(fitted).elidedText(text(), elideMode_, area.width()));
}

}  // namespace quorvane
