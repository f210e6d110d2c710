#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string>

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

// A wrapping text in a type role, secondary or primary.
WrappingLabel* makeText(Theme& theme, const QString& text, QuorvaneFontStyle style,
                        QFont::Weight weight = QFont::Normal, bool secondary = false);
// `font` in the system's monospaced family (numbers that line up).
QFont monospaced(QFont font);
// A system symbol as tall as `font`'s lines, in `color` (the text colour
// when invalid).
SymbolImage* makeSymbol(std::string name, const QFont& font, const QColor& color = {});
// `symbol` before `text`, both at the top; the text takes the rest of the row.
QHBoxLayout* makeSymbolRow(QWidget* symbol, QWidget* text, int spacing = 6);
// The pages' secondary caption: explanations and notes under controls.
WrappingLabel* makeCaption(Theme& theme, const QString& text);
// A closed disclosure: a chevron as tall as `font`'s capitals (right when
// closed, down when open) and the title; toggling shows or hides `content`.
QToolButton* makeDisclosure(Theme& theme, const QString& title, const QFont& font,
                            QWidget* content);

}  // namespace quorvane
