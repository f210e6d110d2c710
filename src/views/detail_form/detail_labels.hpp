#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>
#include <string>

#include "presentation/design/color_role.hpp"
#include "presentation/design/typography.hpp"

class QHBoxLayout;
class QToolButton;
class QWidget;

namespace quorvane {

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
// `font` in the system's monospaced family (numbers that line up).
QFont monospaced(QFont font);
// A system symbol as tall as the lines of the type role, in the colour of
// `tint` (the text colour when absent).
SymbolImage* makeSymbol(Theme& theme, std::string name, QuorvaneFontStyle style,
                        QFont::Weight weight = QFont::Normal,
                        std::optional<ColorRole> tint = std::nullopt);
// `symbol` before `text`, both at the top; the text takes the rest of the row.
QHBoxLayout* makeSymbolRow(QWidget* symbol, QWidget* text, int spacing = 6);
// The pages' secondary caption: explanations and notes under controls.
WrappingLabel* makeCaption(Theme& theme, const QString& text);
// A closed disclosure in the type role: a chevron as tall as the font's
// capitals (right when closed, down when open) and the title; toggling
// shows or hides `content`.
QToolButton* makeDisclosure(Theme& theme, const QString& title, QuorvaneFontStyle style,
                            QFont::Weight weight, QWidget* content);

}  // namespace quorvane
