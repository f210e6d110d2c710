#pragma once

#include <QAccessible>
#include <string>
#include <vector>

#include "views/support/live_accessibility.hpp"

namespace quorvane::testing {

// What a screen reader is told unasked while it lives (with accessibility
// live, as under a screen reader): every notification that shows, by the
// name it has then. Each becomes an AT-SPI "showing" change, which a screen
// reader answers by reading the notification at once.
class SpokenNotices {
  public:
    SpokenNotices() {
        current_ = this;
        previous_ = QAccessible::installUpdateHandler(&SpokenNotices::heard);
    }
    ~SpokenNotices() {
        QAccessible::installUpdateHandler(previous_);
        current_ = nullptr;
    }
    SpokenNotices(const SpokenNotices&) = delete;
    SpokenNotices& operator=(const SpokenNotices&) = delete;

    const std::vector<std::string>& said() const { return said_; }
    void clear() { said_.clear(); }

  private:
    static void heard(QAccessibleEvent* event) {
        if (!current_ || event->type() != QAccessible::ObjectShow)
            return;
        QAccessibleInterface* shown = event->accessibleInterface();
        if (shown && shown->role() == QAccessible::Notification)
            current_->said_.push_back(shown->text(QAccessible::Name).toStdString());
    }

    LiveAccessibility live_;
    static inline SpokenNotices* current_ = nullptr;
    QAccessible::UpdateHandler previous_ = nullptr;
    std::vector<std::string> said_;
};

}  // namespace quorvane::testing
