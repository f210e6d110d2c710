#pragma once

namespace quorvane {

// Makes assistive technology find every window of the application: Qt lists
// the top-level windows but leaves out popups, so while the tray panel (a
// popup) or a menu opened from it is open a screen reader would find none of
// its controls. The application's accessible interface lists each popup
// while it shows, in Qt's order of windows; a window made of a plain widget
// (the panel, the settings window) reads as a window named by its title, as
// the main window does, not as a nameless grouping. Install once at start,
// before the application object exists (Qt asks for the application's
// interface once and keeps it):
//   quorvane::installApplicationAccessible();
//   QApplication application(argc, argv);
void installApplicationAccessible();

}  // namespace quorvane
