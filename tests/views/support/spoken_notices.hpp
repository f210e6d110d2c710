#pragma once

#include <QAccessible>
#include <QWidget>
#include <string>
#include <vector>

#include "views/access/focus_carried_result.hpp"
#include "views/support/accessible_event_hook.hpp"
#include "views/support/heard_focus.hpp"
#include "views/support/live_accessibility.hpp"

namespace quorvane::testing {

// What a screen reader is told unasked while it lives (with accessibility
// live, as under a screen reader): every notification that shows, by the
// name it has then. Each becomes an AT-SPI "showing" change, which a screen
// reader answers by reading the notification at once. And every result a
// control carries as the focus lands on it, by the description read then,
// which the screen reader reads with the control.
class SpokenNotices {
  public:
    const std::vector<std::string>& said() const { return said_; }
    void clear() { said_.clear(); }

  private:
    void heard(QAccessibleEvent* event) {
        QAccessibleInterface* source = event->accessibleInterface();
        if (!source)
            return;
        if (event->type() == QAccessible::ObjectShow && source->role() == QAccessible::Notification)
            said_.push_back(source->text(QAccessible::Name).toStdString());
        if (event->type() != QAccessible::Focus)
            return;
        auto* control = qobject_cast<QWidget*>(event->object());
        const std::string carried = carriedResult(control).toStdString();
        if (!carried.empty() && heardFirstLabel(control).rfind(carried, 0) == 0)
            said_.push_back(carried);
    }

    LiveAccessibility live_;
    std::vector<std::string> said_;
    AccessibleEventHook hook_{[this](QAccessibleEvent* event) { heard(event); }};
};

}  // namespace quorvane::testing
