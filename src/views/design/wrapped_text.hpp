#pragma once

#include <QFont>
#include <QPointF>
#include <QString>

class QPainter;

namespace quorvane {

// Plain text set in lines `lineWidth` wide: broken at word boundaries where
// it can and anywhere in a word longer than the line, each '\n' starting a
// new paragraph. At most `lineLimit` lines (0 = all); the last allowed line
// of a longer text ends in "…". Returns the height the text takes and, given
// a painter, draws it with its top left at `origin` in the painter's pen,
// each line at the leading edge or, with Qt::AlignHCenter, centred.
//
// Usage: const double height = layOutWrappedText(label, font, 120, 2);
//        layOutWrappedText(label, font, 120, 2, &painter, QPointF(x, y));
double layOutWrappedText(const QString& text, const QFont& font, double lineWidth, int lineLimit,
                         QPainter* painter = nullptr, QPointF origin = {},
                         Qt::Alignment alignment = Qt::AlignLeft);

// The width of the text's widest word: the least line width at which it
// wraps between words only.
double widestWordWidth(const QString& text, const QFont& font);

// How many lines the whole text takes at `lineWidth` (no limit).
int wrappedLineCount(const QString& text, const QFont& font, double lineWidth);

}  // namespace quorvane
