#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/screenshots/shot_world.hpp"
#include "views/view_context.hpp"

namespace quorvane {

// What the steps of a shot after `build` can reach: the views' context and,
// in a simulated world, the hardware behind it (null on the dummy server).
struct ShotScene {
    ViewContext& context;
    ShotHardware* hardware = nullptr;
};

// One picture for people to look at, rendered by `scripts/screenshots`.
//
// The contract for a surface that adds pictures:
// - Each surface has one file `src/app/screenshots/<surface>_shots.cpp` with
//   one function `void add<Surface>Shots(ShotList& shots)` declared below and
//   called once from the program's list in screenshot_main.cpp. Add shots
//   only there; never register them from anywhere else.
// - `name` is the PNG's name stem, "<surface>[-<state>]" in lower case with
//   dashes (e.g. "panel-ddc-monitor", "detail-color-comparing"); a dialog's
//   name starts with "dialog-" and a menu's with "menu-", followed by the
//   window that opens it ("dialog-settings-reset-all"). The program writes
//   "<name>-<standard|veryLarge>-<light|dark>.png" into the folder. A
//   surface's file also adds the dialogs and menus its windows open.
// - `world` chooses the displays the store starts with (see ShotWorld). A shot
//   may change the simulated hardware and the stored records before the store
//   is built with `prepare`, and the store itself in `build` (select a
//   display, set a value, open a probe) before it returns the widget.
// - `build` returns the top-level widget to show. It runs after the store has
//   finished its start-up reads, with the text size and appearance of the
//   variant already set in the store. The program gives the widget the theme
//   (as the application does its windows), shows it on the private X server
//   at the `frame` size and waits until the event loop is idle and the
//   store's background work is back.
// - `open`, when set, runs next and returns the top level to photograph: a
//   dialog or menu the widget opened the way the application opens it
//   (grabbed as shown, without anything added by this program), or the
//   widget itself after putting it in a state the program must not wait out
//   (a monitor write held in flight). Without it, the widget is photographed.
// - The widget itself is photographed whole: the program lifts its size
//   limit and grows it until every visible scroll area in it holds all of
//   its content at the window's width, so a picture shows a scrolling
//   surface from top to bottom.
// - Every shot is rendered four times: text sizes standard and veryLarge,
//   light and dark. Each rendering starts from a fresh world and a fresh
//   temporary settings folder, so shots never see each other's changes.
// - Each of those is rendered once more, built in the other text size and
//   the other appearance and switched live once shown (after `open`), as
//   "<name>-restyled-<size>-<scheme>.png" (the switch follows `open`, so an
//   opened dialog or menu restyles while open). It must be the same pixel
//   for pixel as the fresh picture; the program says which are not and
//   fails.
struct Shot {
    enum class Frame {
        mainWindow,      // 840 wide (then grown to its whole height)
        menuPanel,       // the panel's table size for the text size
        settingsWindow,  // the settings window's table size for the text size
        natural,         // the widget's own size hint, without a screen limit
        leastWidth,      // the widget's least width, at its height for that width
    };

    std::string name;
    ShotWorld world = ShotWorld::mixed;
    Frame frame = Frame::natural;
    std::function<void(ShotHardware&)> prepare;
    std::function<std::unique_ptr<QWidget>(ViewContext&)> build;
    std::function<QWidget*(QWidget& shown, ShotScene& scene)> open = nullptr;
    // `open` shows a snapshot of the settings taken as it opens (the
    // diagnostic report), which the live switch itself changes: the
    // restyled picture opens it after the switch.
    bool opensSettingsSnapshot = false;
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
