#include "views/design/application_style.hpp"

#include <QFontMetrics>
#include <QStyleOption>
#include <QWidget>

namespace quorvane {

ApplicationStyle::ApplicationStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

QSize ApplicationStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                         const QSize& size, const QWidget* widget) const {
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type != CT_PushButton || !option)
        return result;
    // Half the text's line height on each side and a little above and below.
    const QFontMetrics metrics = widget ? QFontMetrics(widget->font()) : option->fontMetrics;
    result.rwidth() += metrics.height();
    result.rheight() += metrics.height() / 4;
    return result;
}

}  // namespace quorvane
