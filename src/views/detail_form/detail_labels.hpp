#pragma once

#include <QFont>
#include <QString>
#include <string>

#include "presentation/design/typography.hpp"

class QToolButton;
class QWidget;

namespace quorvane {

class Theme;
class WrappingLabel;

inline QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

// A wrapping text in a type role, secondary or primary.
WrappingLabel* makeText(Theme& theme, const QString& text, QuorvaneFontStyle style,
                        QFont::Weight weight = QFont::Normal, bool secondary = false);
// `font` in the system's monospaced family (numbers that line up).
QFont monospaced(QFont font);
// The pages' secondary caption: explanations and notes under controls.
WrappingLabel* makeCaption(Theme& theme, const QString& text);
// A closed disclosure: a chevron as tall as `font`'s capitals (right when
// closed, down when open) and the title; toggling shows or hides `content`.
QToolButton* makeDisclosure(Theme& theme, const QString& title, const QFont& font,
                            QWidget* content);

}  // namespace quorvane
