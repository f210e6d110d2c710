#include "views/design/text_field.hpp"

#include "views/design/theme.hpp"

namespace quorvane {

TextField::TextField(Theme& theme, QWidget* parent) : QLineEdit(parent), theme_(theme) {
    setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    connect(&theme_, &Theme::changed, this, &TextField::restyle);
    restyle();
}

void TextField::restyle() {
    QPalette colors = palette();
    const QColor placeholder = theme_.color(kPlaceholderText);
    colors.setColor(QPalette::Active, QPalette::PlaceholderText, placeholder);
    colors.setColor(QPalette::Inactive, QPalette::PlaceholderText, placeholder);
    colors.setColor(QPalette::Disabled, QPalette::PlaceholderText, placeholder);
    setPalette(colors);
}

}  // namespace quorvane
