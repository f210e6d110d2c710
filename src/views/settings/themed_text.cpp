#include "views/settings/themed_text.hpp"

#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

WrappingLabel* themedLabel(Theme& theme, const QString& text, QuorvaneFontStyle style,
                           QFont::Weight weight, bool secondary, QWidget* parent) {
    auto* label = new WrappingLabel(text, parent);
    label->setSecondary(secondary);
    const auto restyle = [label, &theme, style, weight] {
        label->setFont(theme.font(style, weight));
    };
    restyle();
    QObject::connect(&theme, &Theme::changed, label, restyle);
    return label;
}

}  // namespace quorvane
