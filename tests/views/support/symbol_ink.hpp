#pragma once

#include <QImage>
#include <QWidget>
#include <algorithm>
#include <string>

#include "views/design/symbol_image.hpp"
#include "views/support/ink.hpp"

namespace quorvane::testing {

// How large the drawn symbol of `widget` is: its ink's longer side, in
// pixels.
inline int inkSizeOf(QWidget* widget) {
    const QImage picture = widget->grab().toImage();
    const QRect ink = inkBounds(picture, picture.rect());
    return std::max(ink.width(), ink.height());
}

// How large `systemName` is drawn when it follows `font`.
inline int symbolInkSize(const std::string& systemName, const QFont& font) {
    SymbolImage reference(systemName);
    reference.setFont(font);
    reference.resize(reference.sizeHint());
    return inkSizeOf(&reference);
}

}  // namespace quorvane::testing
