#include "views/design/themed_text.hpp"

#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

WrappingLabel* themedLabel(Theme& theme, const QString& text, QuorvaneFontStyle style,
                           QFont::Weight weight, bool secondary, QWidget* parent) {
    auto* label = new WrappingLabel(text, parent);
    label->setSecondary(secondary);
    followTheme(theme, label,
                [label, &theme, style, weight] { label->setFont(theme.font(style, weight)); });
    return label;
}

}  // namespace quorvane
