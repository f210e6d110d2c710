#include "app/screenshots/shot_list.hpp"
#include "views/panel/menu_panel.hpp"

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
}

}  // namespace quorvane
