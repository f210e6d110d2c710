#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>
#include <string>

#include "presentation/design/color_role.hpp"
#include "presentation/design/typography.hpp"
#include "views/design/monospaced_font.hpp"

class QHBoxLayout;
class QWidget;

namespace quorvane {

class DisclosureButton;
class Theme;
class SymbolImage;
class WrappingLabel;

inline QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

// Everything made here follows the theme while it lives: a theme change
// restyles it in place.

// A wrapping text in a type role, secondary or primary.
WrappingLabel* makeText(Theme& theme, const QString& text, QuorvaneFontStyle style,
                        QFont::Weight weight = QFont::Normal, bool secondary = false);
// A system symbol as tall as the lines of the type role, in the colour of
// `tint` (the text colour when absent).
SymbolImage* makeSymbol(Theme& theme, std::string name, QuorvaneFontStyle style,
                        QFont::Weight weight = QFont::Normal,
                        std::optional<ColorRole> tint = std::nullopt);
// `symbol` before `text`, both at the top; the text takes the rest of the row.
QHBoxLayout* makeSymbolRow(QWidget* symbol, QWidget* text, int spacing = 6);
// The pages' secondary caption: explanations and notes under controls.
WrappingLabel* makeCaption(Theme& theme, const QString& text);
// A closed disclosure in the type role (see DisclosureButton), with a system
// symbol before the title when `symbol` names one; toggling shows or hides
// `content`.
DisclosureButton* makeDisclosure(Theme& theme, const QString& title, QuorvaneFontStyle style,
                                 QFont::Weight weight, QWidget* content, std::string symbol = {});

}  // namespace quorvane
