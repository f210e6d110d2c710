#include <QAbstractButton>
#include <QMenu>
#include <QToolButton>

#include "app/screenshots/shot_list.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/controls/hold_to_compare_button.hpp"
#include "views/design/chip_button.hpp"
#include "views/panel/menu_panel.hpp"
#include "views/panel/panel_header_view.hpp"
#include "views/panel/panel_picker_chip.hpp"
#include "views/panel/panel_recovery_card.hpp"

namespace quorvane {

namespace {

std::unique_ptr<QWidget> panel(ViewContext& context) {
    return std::make_unique<MenuPanel>(context);
}

using Open = std::function<QWidget*(MenuPanel&, ShotScene&)>;

Shot panelShot(std::string name, ShotWorld world,
               std::function<void(DisplayStore&)> setUp = nullptr, Open open = nullptr) {
    Shot shot{std::move(name),
              world,
              Shot::Frame::menuPanel,
              {},
              [setUp = std::move(setUp)](ViewContext& context) -> std::unique_ptr<QWidget> {
                  if (setUp)
                      setUp(context.store);
                  return panel(context);
              }};
    if (open) {
        shot.open = [open = std::move(open)](QWidget& shown, ShotScene& scene) {
            return open(static_cast<MenuPanel&>(shown), scene);
        };
    }
    return shot;
}

void changeColour(DisplayStore& store) {
    store.setSelectedDisplayID(kShotColourOnlyID);
    store.updateColorAdjustment(kShotColourOnlyID, &ColorAdjustment::warmth, 0.4);
}

void changeColourQuietly(DisplayStore& store) {
    changeColour(store);
    store.clearRecentChangeRecoveryPrompt(std::nullopt);
}

}  // namespace

// The panel for each kind of display it meets: a laptop panel with its
// backlight, a monitor that answers DDC/CI, a display the program can only
// colour, none at all; in its states (the undo prompt after a change, a
// comparison with the stock colours, a monitor write in flight, colour
// correction switched off), and the confirmation and menus it opens.
void addPanelShots(ShotList& shots) {
    shots.push_back(panelShot("panel-builtin-backlight", ShotWorld::builtinPanel));
    shots.push_back(panelShot("panel-ddc-monitor", ShotWorld::ddcMonitor,
                              [](DisplayStore& store) { store.probeDDC(kShotDDCMonitorID); }));
    shots.push_back(panelShot(
        "panel-ddc-monitor-pending-write", ShotWorld::ddcMonitor,
        [](DisplayStore& store) { store.probeDDC(kShotDDCMonitorID); },
        [](MenuPanel& shown, ShotScene& scene) -> QWidget* {
            holdMonitorWrite(*scene.hardware, scene.context.store);
            return &shown;
        }));
    // A check of the monitor that has not answered yet.
    shots.push_back(panelShot("panel-ddc-monitor-checking", ShotWorld::ddcMonitor, nullptr,
                              [](MenuPanel& shown, ShotScene& scene) -> QWidget* {
                                  scene.hardware->monitorGate->hold();
                                  scene.context.store.probeDDC(kShotDDCMonitorID);
                                  return &shown;
                              }));
    shots.push_back(panelShot("panel-colour-only", ShotWorld::colourOnly));
    shots.push_back(panelShot("panel-no-display", ShotWorld::noDisplay));
    // Among several displays the laptop's own: the longest name and subtitle
    // beside the display picker.
    shots.push_back(
        panelShot("panel-builtin-among-displays", ShotWorld::mixed,
                  [](DisplayStore& store) { store.setSelectedDisplayID(kShotBuiltinID); }));
    shots.push_back(panelShot("panel-prompt", ShotWorld::mixed, changeColour));
    shots.push_back(panelShot("panel-comparing", ShotWorld::mixed, [](DisplayStore& store) {
        changeColourQuietly(store);
        store.enterStockComparison(kShotColourOnlyID);
    }));
    // The panel's own button holding the comparison: its title, symbol and
    // colours say so while it lasts.
    shots.push_back(panelShot("panel-comparing-held", ShotWorld::mixed, changeColourQuietly,
                              [](MenuPanel& shown, ShotScene&) -> QWidget* {
                                  if (auto* compare = shown.findChild<HoldToCompareButton*>())
                                      compare->toggleForAccessibility();
                                  return &shown;
                              }));
    shots.push_back(panelShot("panel-correction-off", ShotWorld::mixed, [](DisplayStore& store) {
        changeColourQuietly(store);
        store.setSoftwareColorCorrectionEnabled(false);
    }));

    shots.push_back(panelShot("dialog-panel-emergency-recovery", ShotWorld::mixed, nullptr,
                              [](MenuPanel& shown, ShotScene&) -> QWidget* {
                                  shown.recoveryCard()->recoverButton()->click();
                                  return shown.confirmations()->dialog();
                              }));
    shots.push_back(panelShot("menu-panel-displays", ShotWorld::mixed, nullptr,
                              [](MenuPanel& shown, ShotScene&) -> QWidget* {
                                  shown.header()->displayPicker()->click();
                                  return shown.header()->displayMenu();
                              }));
    shots.push_back(panelShot("menu-panel-options", ShotWorld::mixed, nullptr,
                              [](MenuPanel& shown, ShotScene&) -> QWidget* {
                                  auto* options = shown.header()->findChild<QToolButton*>();
                                  if (!options)
                                      return nullptr;
                                  options->click();
                                  return shown.header()->optionsMenu();
                              }));
}

}  // namespace quorvane
