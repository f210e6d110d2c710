#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include "views/support/ink.hpp"

namespace quorvane::testing {

// Which part of a widget holds only its text: all of a plain label; the
// middle of a capsule (clear of its rounded ends and outline); the right
// half of a capsule that draws a symbol before its title.
enum class TextPart { whole, capsule, capsuleAfterSymbol };

// The baseline of the text `widget` shows, read from the ink of `picture`
// (a grab of `root`).
inline double inkBaseline(const QWidget* root, const QImage& picture, const QWidget* widget,
                          const QFont& font, const QString& text, TextPart part = TextPart::whole) {
    QRect region = boxIn(root, widget);
    if (part != TextPart::whole) {
        const int cap = region.height() / 2;
        region.adjust(part == TextPart::capsule ? cap : region.width() / 2, 2, -cap, -2);
    }
    return baselineFromInk(inkBounds(picture, region), font, text);
}

}  // namespace quorvane::testing
