#include "views/settings/settings_action_card.hpp"

#include <QVBoxLayout>

#include "presentation/design/surface_look.hpp"
#include "views/access/accessible_card.hpp"
#include "views/access/opening_focus.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/theme.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

namespace {

constexpr int kPadding = 12;
constexpr double kCornerRadius = 12;
constexpr double kBorderOpacity = 0.58;

}  // namespace

SettingsActionCard::SettingsActionCard(Theme& theme, const QString& title, const QString& detail,
                                       const std::string& systemImage,
                                       QuorvaneChipProminence prominence, QWidget* parent)
    : SettingsTintedTile(theme,
                         {ColorRole::track, kActionCardTileLightOpacity, kActionCardTileDarkOpacity,
                          kCornerRadius, ColorUse{ColorRole::surfaceBorder, kBorderOpacity}},
                         parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(9);
    button_ = new ChipButton(theme, title, prominence, this);
    button_->setSymbol(systemImage);
    button_->setActionLabel();
    button_->setToolTip(detail);
    column->addWidget(button_, 0, Qt::AlignLeading);
    column->addWidget(themedLabel(theme, detail, QuorvaneFontStyle::caption, QFont::Normal, true));
    readAsOneButton(this, button_, title, detail);
    // Every action of the window opens a file dialog, a sheet or a prompt.
    setKeyEffect(button_, KeyEffect::opensWindow);
    connect(button_, &QAbstractButton::clicked, this, &SettingsActionCard::triggered);
}

}  // namespace quorvane
