#include "views/design/font_sized_indicator_style.hpp"

#include <QFontMetrics>
#include <QStyleFactory>
#include <QWidget>
#include <algorithm>

namespace quorvane {

FontSizedIndicatorStyle::FontSizedIndicatorStyle(QWidget* owner)
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {
    setParent(owner);
}

int FontSizedIndicatorStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                         const QWidget* widget) const {
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    if (!widget || (metric != PM_IndicatorWidth && metric != PM_IndicatorHeight))
        return base;
    // Cap height of the text's font: about the height of its capital letters.
    return std::max(base, QFontMetrics(widget->font()).capHeight() + 4);
}

}  // namespace quorvane
