#include "views/design/text_baseline.hpp"

#include <QBoxLayout>
#include <QFontMetricsF>
#include <QLabel>
#include <QLayout>
#include <QTextLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "views/design/fit_to_width.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

namespace {

struct LineMetrics {
    double ascent = 0;
    double height = 0;
};

// The first line as Qt lays the text out: its ascent is that of the
// tallest font the line uses, so a Hangul line (drawn in a fallback font
// taller than the Latin one) stands lower in its box than the font's own
// ascent says.
LineMetrics firstLine(const QFont& font, const QString& text, double lineWidth) {
    QTextLayout layout(text.isEmpty() ? QStringLiteral(" ") : text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        const QFontMetricsF metrics(font);
        return {metrics.ascent(), metrics.height()};
    }
    line.setLineWidth(std::max(1.0, lineWidth));
    layout.endLayout();
    return {line.ascent(), line.height()};
}

std::optional<int> labelBaseline(const QLabel& label, int width) {
    const QMargins margins = label.contentsMargins();
    const QFont font = [&] {
        if (const auto* wrapping = qobject_cast<const WrappingLabel*>(&label))
            return wrapping->fittedFont(width);
        return label.font();
    }();
    const int lineWidth = width - margins.left() - margins.right() - 2 * label.margin();
    const LineMetrics metrics = firstLine(font, label.text(), lineWidth);
    return margins.top() + label.margin() + static_cast<int>(std::lround(metrics.ascent));
}

// A vertical stack's first line is its first shown item's; a row's is the
// lowest of its items' (they stand on one line or hang from the top).
std::optional<int> layoutBaseline(QLayout& layout, int width) {
    if (auto* fit = dynamic_cast<FitLayout*>(&layout))
        return fit->firstBaseline(width);
    const QMargins margins = layout.contentsMargins();
    const int inner = width - margins.left() - margins.right();
    auto* box = qobject_cast<QBoxLayout*>(&layout);
    const bool row = box && (box->direction() == QBoxLayout::LeftToRight ||
                             box->direction() == QBoxLayout::RightToLeft);
    std::optional<int> found;
    for (int i = 0; i < layout.count(); ++i) {
        QLayoutItem* item = layout.itemAt(i);
        if (!item || item->isEmpty())
            continue;
        const int itemWidth = row ? std::min(inner, item->sizeHint().width()) : inner;
        const auto baseline = firstTextBaseline(item, itemWidth);
        if (!row)
            return baseline ? std::optional<int>(margins.top() + *baseline) : std::nullopt;
        if (baseline)
            found = std::max(found.value_or(0), margins.top() + *baseline);
    }
    return found;
}

}  // namespace

std::optional<int> firstTextBaseline(const QWidget* widget, int width) {
    if (!widget)
        return std::nullopt;
    if (const auto* own = dynamic_cast<const TextBaselined*>(widget))
        return own->firstBaseline(width);
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text().isEmpty() ? std::nullopt : labelBaseline(*label, width);
    if (QLayout* layout = widget->layout()) {
        const auto baseline = layoutBaseline(*layout, width);
        if (baseline)
            return widget->contentsMargins().top() + *baseline;
    }
    return std::nullopt;
}

std::optional<int> firstTextBaseline(QLayoutItem* item, int width) {
    if (!item)
        return std::nullopt;
    if (QWidget* widget = item->widget())
        return firstTextBaseline(widget, width);
    if (QLayout* layout = item->layout())
        return layoutBaseline(*layout, width);
    return std::nullopt;
}

int firstLineBaseline(const QFont& font, const QString& text, double lineWidth) {
    return static_cast<int>(std::lround(firstLine(font, text, lineWidth).ascent));
}

int centredTextBaseline(const QFont& font, const QString& text, int height) {
    const LineMetrics metrics = firstLine(font, text, 1e6);
    return static_cast<int>(std::lround((height - metrics.height) / 2 + metrics.ascent));
}

int centredFontBaseline(const QFont& font, int height) {
    const QFontMetricsF metrics(font);
    return static_cast<int>(std::lround((height - metrics.height()) / 2 + metrics.ascent()));
}

}  // namespace quorvane
