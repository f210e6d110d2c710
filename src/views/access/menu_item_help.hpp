#pragma once

class QAction;
class QString;

namespace quorvane {

// Gives a menu item its help text: the tooltip a menu that shows tooltips
// shows over it, and the description assistive technology reads with it
// (Qt reads a menu item without one). The item otherwise reads as Qt reads
// a menu item: its text as name, checked when it is, pressed to trigger it.
//
// Usage, once the item is in its menu:
//   QAction* item = menu->addAction(title);
//   setMenuItemHelp(item, help);
void setMenuItemHelp(QAction* item, const QString& help);

}  // namespace quorvane
