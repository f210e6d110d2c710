#include "views/design/wrapped_text.hpp"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <QTextLayout>
#include <algorithm>

namespace quorvane {

namespace {

// Breaks one paragraph into lines `lineWidth` wide, at word boundaries where
// it can and anywhere in a word longer than the line.
void breakLines(QTextLayout& layout, double lineWidth, Qt::Alignment alignment = Qt::AlignLeft) {
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(lineWidth);
    layout.endLayout();
}

}  // namespace

double layOutWrappedText(const QString& text, const QFont& font, double lineWidth, int lineLimit,
                         QPainter* painter, QPointF origin, Qt::Alignment alignment) {
    const bool centred = alignment & Qt::AlignHCenter;
    if (text.isEmpty())
        return 0;
    if (painter)
        painter->setFont(font);
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    double y = 0;
    int shown = 0;
    for (qsizetype index = 0; index < paragraphs.size(); ++index) {
        const QString& paragraph = paragraphs[index];
        QTextLayout layout(paragraph, font);
        breakLines(layout, lineWidth, centred ? Qt::AlignHCenter : Qt::AlignLeft);
        for (int number = 0; number < layout.lineCount(); ++number) {
            QTextLine line = layout.lineAt(number);
            const bool lastAllowed = lineLimit > 0 && shown + 1 == lineLimit;
            const bool more = number + 1 < layout.lineCount() || index + 1 < paragraphs.size();
            if (lastAllowed && more) {
                if (painter) {
                    // The rest of the text, run together, cut to the line.
                    const QString rest = (paragraph.mid(line.textStart()) + QLatin1Char(' ') +
                                          paragraphs.mid(index + 1).join(QLatin1Char(' ')))
                                             .simplified();
                    const QFontMetricsF metrics(font);
                    const QString shown = metrics.elidedText(rest, Qt::ElideRight, lineWidth);
                    const double x =
                        centred ? (lineWidth - metrics.horizontalAdvance(shown)) / 2 : 0;
                    painter->drawText(origin + QPointF(x, y + line.ascent()), shown);
                }
                return y + line.height();
            }
            if (painter)
                line.draw(painter, origin + QPointF(0, y - line.y()));
            y += line.height();
            ++shown;
        }
    }
    return y;
}

double widestWordWidth(const QString& text, const QFont& font) {
    double widest = 0;
    for (const auto& paragraph : text.split(QLatin1Char('\n'))) {
        // Lines of no width hold one word each (a break only where words end).
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(0);
            widest = std::max(widest, line.naturalTextWidth());
        }
        layout.endLayout();
    }
    return widest;
}

int wrappedLineCount(const QString& text, const QFont& font, double lineWidth) {
    int lines = 0;
    for (const auto& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        breakLines(layout, lineWidth);
        lines += layout.lineCount();
    }
    return lines;
}

}  // namespace quorvane
