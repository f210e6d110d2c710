#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/screenshots/shot_world.hpp"
#include "views/view_context.hpp"

namespace quorvane {

// One picture for people to look at, rendered by `scripts/screenshots`.
//
// The contract for a surface that adds pictures:
// - Each surface has one file `src/app/screenshots/<surface>_shots.cpp` with
//   one function `void add<Surface>Shots(ShotList& shots)` declared below and
//   called once from the program's list in screenshot_main.cpp. Add shots
//   only there; never register them from anywhere else.
// - `name` is the PNG's name stem, "<surface>-<state>" in lower case with
//   dashes (e.g. "panel-ddc-monitor"); the program writes
//   "<name>-<standard|veryLarge>-<light|dark>.png" into the folder.
// - `world` chooses the displays the store starts with (see ShotWorld). A shot
//   may change the simulated hardware and the stored records before the store
//   is built with `prepare`, and the store itself in `build` (select a
//   display, set a value, open a probe) before it returns the widget.
// - `build` returns the top-level widget to photograph. It runs after the
//   store has finished its start-up reads, with the text size and appearance
//   of the variant already set in the store. The program shows the widget on
//   the private X server at the `frame` size, waits until the event loop is
//   idle (and the store's background work is back) and grabs it.
// - `open`, when set, then opens one of that surface's menus or dialogs and
//   returns it: that window is photographed instead, drawn in the theme it
//   took when it opened (the surface stays open behind it).
// - Every shot is rendered four times: text sizes standard and veryLarge,
//   light and dark. Each rendering starts from a fresh world and a fresh
//   temporary settings folder, so shots never see each other's changes.
struct Shot {
    enum class Frame {
        mainWindow,      // 840 x 620
        menuPanel,       // the panel's table size for the text size
        settingsWindow,  // the settings window's table size for the text size
        natural,         // the widget's own size hint
    };

    std::string name;
    ShotWorld world = ShotWorld::mixed;
    Frame frame = Frame::natural;
    std::function<void(ShotHardware&)> prepare;
    std::function<std::unique_ptr<QWidget>(ViewContext&)> build;
    std::function<QWidget*(QWidget& shown)> open;
};

using ShotList = std::vector<Shot>;

void addShellShots(ShotList& shots);
void addComponentsShots(ShotList& shots);
void addMainWindowShots(ShotList& shots);
void addDetailFormShots(ShotList& shots);
void addPanelShots(ShotList& shots);
void addSettingsShots(ShotList& shots);
void addImportSheetShots(ShotList& shots);

}  // namespace quorvane
