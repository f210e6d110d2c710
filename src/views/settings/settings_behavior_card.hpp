#pragma once

#include <QWidget>
#include <array>

namespace quorvane {

class DisplayStore;
class GlyphIcon;
class SettingsToggleRowView;
class Theme;

// The "기본 동작" card: four switches, each calling only its store setter.
class SettingsBehaviorCard : public QWidget {
    Q_OBJECT

  public:
    SettingsBehaviorCard(Theme& theme, DisplayStore& store, QWidget* parent = nullptr);

    void refresh();
    SettingsToggleRowView* row(int index) const {
        return rows_.at(static_cast<std::size_t>(index));
    }
    GlyphIcon* icon() const { return icon_; }

  private:
    Theme& theme_;
    DisplayStore& store_;
    GlyphIcon* icon_ = nullptr;
    std::array<SettingsToggleRowView*, 4> rows_{};
};

}  // namespace quorvane
