#include "views/settings/settings_behavior_card.hpp"

#include <QVBoxLayout>

#include "presentation/settings/behavior_card_model.hpp"
#include "services/display_store/display_store.hpp"
#include "views/design/glyph_icon.hpp"
#include "views/design/settings_card_frame.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/theme.hpp"
#include "views/settings/settings_toggle_row_view.hpp"

namespace quorvane {

SettingsBehaviorCard::SettingsBehaviorCard(Theme& theme, DisplayStore& store, QWidget* parent)
    : QWidget(parent), theme_(theme), store_(store) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto frame = makeSettingsCard(
        theme, QuorvaneGlyph::behavior, [this] { return behaviorCardTint(store_); },
        QStringLiteral("기본 동작"), QStringLiteral("앱이 먼저 실행할 일"));
    outer->addWidget(frame.panel);
    icon_ = frame.icon;
    for (std::size_t index = 0; index < rows_.size(); ++index) {
        const auto setting = kAllBehaviorSettings[index];
        rows_[index] = new SettingsToggleRowView(theme, frame.panel);
        frame.column->addWidget(rows_[index]);
        connect(rows_[index], &SettingsToggleRowView::toggled, this,
                [this, setting](bool on) { setBehavior(store_, setting, on); });
    }
    refresh();
}

void SettingsBehaviorCard::refresh() {
    for (std::size_t index = 0; index < rows_.size(); ++index)
        rows_[index]->show(behaviorRow(store_, kAllBehaviorSettings[index]));
    icon_->setTint(theme_.color(behaviorCardTint(store_)));
}

}  // namespace quorvane
