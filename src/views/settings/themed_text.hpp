#pragma once

#include <functional>

#include <QFont>
#include <QString>

#include "presentation/design/color_role.hpp"
#include "presentation/design/typography.hpp"

class QWidget;

namespace quorvane {

class Theme;
class WrappingLabel;
class GlyphIcon;
enum class QuorvaneGlyph;

// A wrapping label in one type role that takes the theme's font again after
// every theme change; secondary labels use the secondary text colour.
WrappingLabel* themedLabel(Theme& theme, const QString& text, QuorvaneFontStyle style,
                           QFont::Weight weight = QFont::Normal, bool secondary = false,
                           QWidget* parent = nullptr);

// A card's header glyph (28 points, centred on a 34-point frame) whose tint
// is the role `tint()` names, read again after every theme change and on
// every call of the returned refresh. The frame owns the glyph.
struct ThemedGlyph {
    QWidget* frame = nullptr;
    GlyphIcon* icon = nullptr;
};
ThemedGlyph themedGlyph(Theme& theme, QuorvaneGlyph glyph, std::function<ColorRole()> tint,
                        QWidget* parent = nullptr);

}  // namespace quorvane
