#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "presentation/settings/shortcuts_card_model.hpp"

class QCheckBox;
class QVBoxLayout;

namespace quorvane {

class SettingsDisclosureSection;
class DisplayStore;
class GlyphIcon;
class KeyedRows;
class SettingsToggleRowView;
class Theme;

// The "단축키" card: the emergency and scene hot-key switches with what the
// desktop registered, and, while scene hot keys are on, a folded list with a
// switch per scene binding. Every switch calls one store operation.
class SettingsShortcutsCard : public QWidget {
    Q_OBJECT

  public:
    SettingsShortcutsCard(Theme& theme, DisplayStore& store, QWidget* parent = nullptr);
    ~SettingsShortcutsCard() override;

    void refresh();
    SettingsToggleRowView* emergencyRow() const { return emergency_; }
    SettingsToggleRowView* sceneRow() const { return scenes_; }
    // Null while scene hot keys are off.
    SettingsDisclosureSection* bindingList() const { return bindingList_; }
    std::vector<QCheckBox*> bindingSwitches() const;
    GlyphIcon* icon() const { return icon_; }

  private:
    void showBindingList(const ShortcutsCardModel& model);

    Theme& theme_;
    DisplayStore& store_;
    ShortcutsCardModel shown_;
    GlyphIcon* icon_ = nullptr;
    QVBoxLayout* column_ = nullptr;
    SettingsToggleRowView* emergency_ = nullptr;
    SettingsToggleRowView* scenes_ = nullptr;
    SettingsDisclosureSection* bindingList_ = nullptr;
    std::unique_ptr<KeyedRows> bindingRows_;
};

}  // namespace quorvane
