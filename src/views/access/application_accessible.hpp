#pragma once

namespace quorvane {

// Makes assistive technology find every window of the application: Qt lists
// the top-level windows but leaves out popups, so while the tray panel (a
// popup) or a menu opened from it is open a screen reader would find none of
// its controls. The application's accessible interface lists each popup
// while it shows, in Qt's order of windows. Install once at start, before
// the application object exists (Qt asks for the application's interface
// once and keeps it); the widgets' own reading (installWidgetAccessible())
// follows once it exists:
//   quorvane::installApplicationAccessible();
//   QApplication application(argc, argv);
//   quorvane::installWidgetAccessible();
void installApplicationAccessible();

}  // namespace quorvane
