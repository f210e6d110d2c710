#pragma once

#include <QString>

class QWidget;

namespace quorvane {

// What assistive technology reads of a text shown on screen: the same words
// without the invisible formatting characters that only steer how the text
// is drawn (word joiners keeping "Super+Shift+L" on one line, soft hyphens,
// zero-width spaces, direction marks). A screen reader would spell them out
// or a braille display show them as dots.
QString spokenText(const QString& text);

// Sets the widget's accessible name (or description) to `text` as spoken,
// and only when it differs from the one it has: Qt announces every call as a
// change, so a view refreshing an unchanged name would make a screen reader
// repeat it. Every view names its widgets through these two.
//
// Usage:
//   setSpokenName(toggle, title);
//   setSpokenDescription(slider, hint);
void setSpokenName(QWidget* widget, const QString& text);
void setSpokenDescription(QWidget* widget, const QString& text);

}  // namespace quorvane
