#pragma once

#include <functional>

#include <QString>

#include "presentation/design/color_role.hpp"
#include "presentation/design/quorvane_glyph.hpp"
#include "presentation/design/typography.hpp"

class QVBoxLayout;
class QWidget;

namespace quorvane {

class GlyphIcon;
class SurfacePanel;
class Theme;

// A title over a line of explanation, both wrapping: the band headings, the
// card headers and the setting rows all use it with their own title role.
QWidget* headingPair(Theme& theme, const QString& title, const QString& detail,
                     QuorvaneFontStyle titleStyle, int spacing, QWidget* parent = nullptr);

// A thin horizontal line in the palette's mid colour between two parts of a
// card or sheet.
QWidget* divider(QWidget* parent = nullptr);

// One card of the settings window: a soft panel (padding 16, corner 16)
// holding a column (spacing 12) that starts with the glyph and the heading
// pair. The card's rows go into `column`.
// The glyph's tint is the role `tint()` names, read on every theme change;
// a card whose tint follows the store sets icon's tint again on refresh.
struct SettingsCardFrame {
    SurfacePanel* panel = nullptr;
    QVBoxLayout* column = nullptr;
    GlyphIcon* icon = nullptr;
};

SettingsCardFrame makeSettingsCard(Theme& theme, QuorvaneGlyph glyph,
                                   std::function<ColorRole()> tint, const QString& title,
                                   const QString& subtitle, QWidget* parent = nullptr);

}  // namespace quorvane
