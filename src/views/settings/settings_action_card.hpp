#pragma once

#include <QWidget>
#include <string>

#include "presentation/design/button_look.hpp"
#include "views/design/settings_tinted_tile.hpp"

namespace quorvane {

class ChipButton;
class Theme;

// An action of a settings card: a chip button with its symbol and title,
// and under it the explanation (also the button's tooltip), on a tinted
// rounded tile read as one element by assistive technology. Its button
// opens a window (a file dialog, a sheet, a prompt): no window opens on it.
class SettingsActionCard : public SettingsTintedTile {
    Q_OBJECT

  public:
    SettingsActionCard(Theme& theme, const QString& title, const QString& detail,
                       const std::string& systemImage, QuorvaneChipProminence prominence,
                       QWidget* parent = nullptr);

    ChipButton* button() const { return button_; }

  signals:
    void triggered();

  private:
    ChipButton* button_ = nullptr;
};

}  // namespace quorvane
