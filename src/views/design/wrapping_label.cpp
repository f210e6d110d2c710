#include "views/design/wrapping_label.hpp"

#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

// The narrowest a wrapped label asks to be: a few characters.
constexpr int kMinimumCharacters = 6;

}  // namespace

WrappingLabel::WrappingLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeading | Qt::AlignTop);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void WrappingLabel::setSelectable(bool selectable) {
    setTextInteractionFlags(selectable ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                       : Qt::NoTextInteraction);
    if (selectable)
        setCursor(Qt::IBeamCursor);
    else
        unsetCursor();
}

bool WrappingLabel::selectable() const {
    return textInteractionFlags() & Qt::TextSelectableByMouse;
}

void WrappingLabel::setSecondary(bool secondary) {
    setForegroundRole(secondary ? QPalette::PlaceholderText : QPalette::WindowText);
}

void WrappingLabel::setTextColor(const QColor& color) {
    color_ = color;
    update();
}

QSize WrappingLabel::sizeHint() const {
    const QMargins margins = contentsMargins();
    int width = 0;
    const QStringList lines = text().split(QLatin1Char('\n'));
    for (const auto& line : lines)
        width = std::max(width, fontMetrics().horizontalAdvance(line));
    width += margins.left() + margins.right() + 1;
    return {width, heightForWidth(width)};
}

QSize WrappingLabel::minimumSizeHint() const {
    const int width =
        std::min(sizeHint().width(), fontMetrics().averageCharWidth() * kMinimumCharacters);
    return {width, fontMetrics().height()};
}

int WrappingLabel::heightForWidth(int width) const {
    if (selectable())
        return QLabel::heightForWidth(width);
    return layoutHeight(width, nullptr);
}

int WrappingLabel::layoutHeight(int width, QPainter* painter) const {
    const QMargins margins = contentsMargins();
    const double lineWidth = std::max(1, width - margins.left() - margins.right());
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    double y = margins.top();
    const QStringList paragraphs = text().split(QLatin1Char('\n'));
    for (const auto& paragraph : paragraphs) {
        QTextLayout layout(paragraph, font());
        layout.setTextOption(option);
        layout.beginLayout();
        while (true) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(lineWidth);
            line.setPosition(QPointF(0, y - margins.top()));
            y += line.height();
        }
        layout.endLayout();
        if (painter)
            layout.draw(painter, QPointF(margins.left(), margins.top()));
    }
    if (paragraphs.isEmpty() || text().isEmpty())
        y = margins.top();
    return static_cast<int>(std::ceil(y)) + margins.bottom();
}

void WrappingLabel::paintEvent(QPaintEvent* event) {
    if (selectable()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(color_.isValid() ? color_ : palette().color(foregroundRole()));
    layoutHeight(width(), &painter);
}

}  // namespace quorvane
