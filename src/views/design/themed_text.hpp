#pragma once

#include <QFont>
#include <QString>

#include "presentation/design/typography.hpp"

class QWidget;

namespace quorvane {

class Theme;
class WrappingLabel;

// A wrapping label in one type role that takes the theme's font again after
// every theme change; secondary labels use the secondary text colour.
WrappingLabel* themedLabel(Theme& theme, const QString& text, QuorvaneFontStyle style,
                           QFont::Weight weight = QFont::Normal, bool secondary = false,
                           QWidget* parent = nullptr);

}  // namespace quorvane
