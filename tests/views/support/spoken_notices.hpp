#pragma once

#include <QAccessible>
#include <string>
#include <vector>

#include "views/support/accessible_event_hook.hpp"
#include "views/support/live_accessibility.hpp"

namespace quorvane::testing {

// What a screen reader is told unasked while it lives (with accessibility
// live, as under a screen reader): every notification that shows, by the
// name it has then. Each becomes an AT-SPI "showing" change, which a screen
// reader answers by reading the notification at once.
class SpokenNotices {
  public:
    const std::vector<std::string>& said() const { return said_; }
    void clear() { said_.clear(); }

  private:
    void heard(QAccessibleEvent* event) {
        if (event->type() != QAccessible::ObjectShow)
            return;
        QAccessibleInterface* shown = event->accessibleInterface();
        if (shown && shown->role() == QAccessible::Notification)
            said_.push_back(shown->text(QAccessible::Name).toStdString());
    }

    LiveAccessibility live_;
    std::vector<std::string> said_;
    AccessibleEventHook hook_{[this](QAccessibleEvent* event) { heard(event); }};
};

}  // namespace quorvane::testing
