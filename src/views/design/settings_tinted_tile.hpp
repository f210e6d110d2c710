#pragma once

#include <QWidget>
#include <optional>

#include "presentation/design/color_role.hpp"

namespace quorvane {

class Theme;

// A widget drawn on a rounded tile of one colour role, at one opacity in the
// light scheme and another in the dark, with an optional 1-point border:
// the setting blocks, action cards, status tiles and binding rows.
class SettingsTintedTile : public QWidget {
    Q_OBJECT

  public:
    struct Look {
        ColorRole fill = ColorRole::track;
        double lightOpacity = 1;
        double darkOpacity = 1;
        double cornerRadius = 12;
        std::optional<ColorUse> border;
    };

    SettingsTintedTile(Theme& theme, Look look, QWidget* parent = nullptr);

    void setBorder(std::optional<ColorUse> border);
    void setLook(Look look);

  protected:
    void paintEvent(QPaintEvent* event) override;
    Theme& theme() const { return theme_; }

  private:
    Theme& theme_;
    Look look_;
};

}  // namespace quorvane
