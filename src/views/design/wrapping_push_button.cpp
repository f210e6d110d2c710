#include "views/design/wrapping_push_button.hpp"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>
#include <cmath>

#include "views/design/wrapped_text.hpp"

namespace quorvane {

WrappingPushButton::WrappingPushButton(QWidget* parent) : QPushButton(parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QSize WrappingPushButton::frameAround(QSize title) const {
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, title, this);
}

QSize WrappingPushButton::minimumSizeHint() const {
    // The widest word on a line of its own.
    const int word = static_cast<int>(std::ceil(widestWordWidth(text(), font())));
    const QSize least = frameAround({word, fontMetrics().height()});
    return {least.width(), heightForWidth(least.width())};
}

int WrappingPushButton::heightForWidth(int width) const {
    const int insets = frameAround({0, 0}).width();
    const double lines = layOutWrappedText(text(), font(), std::max(1, width - insets), 0);
    const int tall = frameAround({0, static_cast<int>(std::ceil(lines))}).height();
    return std::max(sizeHint().height(), tall);
}

void WrappingPushButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString title = option.text;
    option.text.clear();
    // The frame, fill and focus as the style draws a push button's.
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const int insets = frameAround({0, 0}).width();
    const double lineWidth = std::max(1, width() - insets);
    const double height = layOutWrappedText(title, font(), lineWidth, 0);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    const QPointF origin(contents.center().x() + 1 - lineWidth / 2,
                         contents.center().y() + 1 - height / 2);
    layOutWrappedText(title, font(), lineWidth, 0, &painter, origin, Qt::AlignHCenter);
}

}  // namespace quorvane
