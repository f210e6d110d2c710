#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdlib>

namespace quorvane::testing {

// What a person sees of a grabbed picture: the pixels that stand out from
// the background of a region (its most common colour).
inline QRgb backgroundOf(const QImage& image, const QRect& region) {
    QHash<QRgb, int> counts;
    const QRect area = region.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    }
    QRgb most = 0;
    int best = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > best) {
            best = it.value();
            most = it.key();
        }
    }
    return most;
}

inline bool standsOut(QRgb pixel, QRgb background, int threshold) {
    return std::abs(qRed(pixel) - qRed(background)) > threshold ||
           std::abs(qGreen(pixel) - qGreen(background)) > threshold ||
           std::abs(qBlue(pixel) - qBlue(background)) > threshold ||
           std::abs(qAlpha(pixel) - qAlpha(background)) > threshold;
}

// The smallest rectangle holding every pixel of `region` that differs from
// the region's background by more than `threshold` in a channel (an empty
// rectangle when nothing does).
inline QRect inkBounds(const QImage& image, const QRect& region, int threshold = 60) {
    const QRect area = region.intersected(image.rect());
    const QRgb background = backgroundOf(image, area);
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (standsOut(image.pixel(x, y), background, threshold))
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// Where `widget` lies in `root`'s coordinates (and so in root->grab()).
inline QRect boxIn(const QWidget* root, const QWidget* widget) {
    return QRect(widget->mapTo(root, QPoint(0, 0)), widget->size());
}

// The baseline a text of `font` stands on, read from the bottom of its
// rendered ink: the ink's last row less how far the text's glyphs reach
// below their baseline. Two texts of different fonts and scripts (Hangul
// and Latin) stand on one line when these agree.
inline double baselineFromInk(const QRect& ink, const QFont& font, const QString& text) {
    return ink.bottom() + 1 - QFontMetricsF(font).tightBoundingRect(text).bottom();
}

}  // namespace quorvane::testing
