#include <QMenu>

#include "app/screenshots/shot_list.hpp"
#include "app/shell/tray_menu.hpp"
#include "views/main_window/main_window.hpp"
#include "views/panel/menu_panel.hpp"
#include "views/settings/settings_window.hpp"

namespace quorvane {

// The three root surfaces as the shell opens them, on the dummy server's
// displays.
void addShellShots(ShotList& shots) {
    shots.push_back({"shell-main-window",
                     ShotWorld::dummyServer,
                     Shot::Frame::mainWindow,
                     {},
                     [](ViewContext& context) -> std::unique_ptr<QWidget> {
                         return std::make_unique<MainWindow>(context);
                     }});
    shots.push_back({"shell-menu-panel",
                     ShotWorld::mixed,
                     Shot::Frame::menuPanel,
                     {},
                     [](ViewContext& context) -> std::unique_ptr<QWidget> {
                         return std::make_unique<MenuPanel>(context);
                     }});
    shots.push_back({"shell-settings-window",
                     ShotWorld::mixed,
                     Shot::Frame::settingsWindow,
                     {},
                     [](ViewContext& context) -> std::unique_ptr<QWidget> {
                         return std::make_unique<SettingsWindow>(context);
                     }});
    // The tray icon's menu, a window without a parent.
    shots.push_back({"shell-tray-menu",
                     ShotWorld::mixed,
                     Shot::Frame::natural,
                     {},
                     [](ViewContext&) -> std::unique_ptr<QWidget> { return makeTrayMenu([] {}); }});
}

}  // namespace quorvane
