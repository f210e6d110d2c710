#include "views/design/settings_tinted_tile.hpp"

#include <QPainter>

#include "views/design/theme.hpp"

namespace quorvane {

SettingsTintedTile::SettingsTintedTile(Theme& theme, Look look, QWidget* parent)
    : QWidget(parent), theme_(theme), look_(std::move(look)) {
    connect(&theme_, &Theme::changed, this, qOverload<>(&QWidget::update));
}

void SettingsTintedTile::setBorder(std::optional<ColorUse> border) {
    look_.border = border;
    update();
}

void SettingsTintedTile::setLook(Look look) {
    look_ = std::move(look);
    update();
}

void SettingsTintedTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double opacity =
        theme_.scheme() == ColorScheme::dark ? look_.darkOpacity : look_.lightOpacity;
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(look_.border ? QPen(theme_.color(*look_.border), 1) : QPen(Qt::NoPen));
    painter.setBrush(theme_.color(look_.fill, opacity));
    painter.drawRoundedRect(shape, look_.cornerRadius, look_.cornerRadius);
}

}  // namespace quorvane
