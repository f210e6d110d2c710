#include "views/detail_form/detail_labels.hpp"

#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

WrappingLabel* makeText(Theme& theme, const QString& text, QuorvaneFontStyle style,
                        QFont::Weight weight, bool secondary) {
    auto* label = new WrappingLabel(text);
    label->setFont(theme.font(style, weight));
    label->setSecondary(secondary);
    return label;
}

WrappingLabel* makeCaption(Theme& theme, const QString& text) {
    return makeText(theme, text, QuorvaneFontStyle::caption, QFont::Normal, true);
}

}  // namespace quorvane
