#pragma once

namespace quorvane {

// How the user reaches the panel, by whether a system tray shows the
// program's icon right now (a tray can come and go while the program runs).
struct PanelAccess {
    // The panel opens as a popup at the tray icon; else as a small window.
    bool popupAtTrayIcon = false;
    // The main window offers a control that opens the panel.
    bool mainWindowOffersPanel = false;
    // Closing the last window ends the program: without an icon nothing
    // would be left to bring it back.
    bool lastWindowEndsProgram = false;
    // The main window opens now, so the program is never running unseen.
    bool opensMainWindow = false;
    bool operator==(const PanelAccess&) const = default;
};

// `anyWindowShown`: whether one of the program's windows is on the screen.
PanelAccess panelAccess(bool trayShowsIcon, bool anyWindowShown);

// What follows when one of the program's surfaces (a window, the panel in
// either form) has gone from the screen.
enum class AfterSurfaceGone { nothing, opensMainWindow, endsProgram };

// `stillShown`: whether another surface is still on the screen, which keeps
// the program as it is. `goneWasPopup`: whether the one that went was the
// popup at the tray icon. A popup closes by a click beside it or a loss of
// focus, never as the user's closing of the program's last window, so where
// its tray has gone meanwhile the main window opens in its place: the
// program never runs with no window and no icon.
AfterSurfaceGone afterSurfaceGone(bool trayShowsIcon, bool stillShown, bool goneWasPopup);

}  // namespace quorvane
