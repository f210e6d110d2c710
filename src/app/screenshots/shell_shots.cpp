#include <QMenu>

#include "app/screenshots/shot_list.hpp"
#include "app/shell/tray_menu.hpp"
#include "views/main_window/main_window.hpp"
#include "views/panel/menu_panel.hpp"
#include "views/settings/settings_window.hpp"

namespace quorvane {

namespace {

// Keeps the tray's menu alive for its picture; it stands in for the tray
// icon, which the private X server has no tray to show.
class TrayStandIn : public QWidget {
  public:
    TrayStandIn() : menu_(makeTrayMenu([] {})) { resize(24, 24); }
    QMenu& menu() { return *menu_; }

  private:
    std::unique_ptr<QMenu> menu_;
};

}  // namespace

// The three root surfaces as the shell opens them, on the dummy server's
// displays, and the tray's menu.
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
    shots.push_back(
        {"menu-tray",
         ShotWorld::noDisplay,
         Shot::Frame::natural,
         {},
         [](ViewContext&) -> std::unique_ptr<QWidget> { return std::make_unique<TrayStandIn>(); },
         [](QWidget& shown, ShotScene&) -> QWidget* {
             QMenu& menu = static_cast<TrayStandIn&>(shown).menu();
             menu.popup(shown.mapToGlobal(QPoint(0, shown.height())));
             return &menu;
         }});
}

}  // namespace quorvane
