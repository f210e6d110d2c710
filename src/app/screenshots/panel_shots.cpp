#include <QMenu>
#include <QMessageBox>
#include <QToolButton>

#include "app/screenshots/shot_list.hpp"
#include "views/controls/confirmation_presenter.hpp"
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

Shot panelShot(std::string name, ShotWorld world,
               std::function<void(DisplayStore&)> setUp = nullptr) {
    return {std::move(name),
            world,
            Shot::Frame::menuPanel,
            {},
            [setUp = std::move(setUp)](ViewContext& context) -> std::unique_ptr<QWidget> {
                if (setUp)
                    setUp(context.store);
                return panel(context);
            }};
}

// Opens the header's display picker or its options menu as a click would.
QMenu* openHeaderMenu(QWidget& shown, bool displays) {
    auto& panel = static_cast<MenuPanel&>(shown);
    PanelHeaderView* header = panel.header();
    if (displays) {
        header->displayPicker()->click();
        return header->displayMenu();
    }
    for (auto* button : header->findChildren<QToolButton*>()) {
        if (button->accessibleName() == QStringLiteral("메뉴 옵션"))
            button->click();
    }
    return header->optionsMenu();
}

Shot openedPanelShot(std::string name, std::function<QWidget*(QWidget&)> open) {
    Shot shot = panelShot(std::move(name), ShotWorld::mixed);
    shot.open = std::move(open);
    return shot;
}

}  // namespace

// The panel for each kind of display it meets: a laptop panel with its
// backlight, a monitor that answers DDC/CI, a display the program can only
// colour, none at all, and the undo prompt after a change.
void addPanelShots(ShotList& shots) {
    shots.push_back(panelShot("panel-builtin-backlight", ShotWorld::builtinPanel));
    shots.push_back(panelShot("panel-ddc-monitor", ShotWorld::ddcMonitor,
                              [](DisplayStore& store) { store.probeDDC(kShotDDCMonitorID); }));
    shots.push_back(panelShot("panel-colour-only", ShotWorld::colourOnly));
    shots.push_back(panelShot("panel-no-display", ShotWorld::noDisplay));
    shots.push_back(panelShot("panel-prompt", ShotWorld::mixed, [](DisplayStore& store) {
        store.setSelectedDisplayID(kShotColourOnlyID);
        store.updateColorAdjustment(kShotColourOnlyID, &ColorAdjustment::warmth, 0.4);
    }));
    // Its two menus and its confirmation, each a window of its own in the
    // panel's theme.
    shots.push_back(openedPanelShot("panel-options-menu",
                                    [](QWidget& shown) { return openHeaderMenu(shown, false); }));
    shots.push_back(openedPanelShot("panel-display-menu",
                                    [](QWidget& shown) { return openHeaderMenu(shown, true); }));
    shots.push_back(openedPanelShot("panel-recovery-confirmation", [](QWidget& shown) -> QWidget* {
        auto& panel = static_cast<MenuPanel&>(shown);
        panel.recoveryCard()->recoverButton()->click();
        return panel.confirmations()->dialog();
    }));
}

}  // namespace quorvane
