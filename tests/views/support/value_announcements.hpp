#pragma once

#include <QAccessible>
#include <QObject>
#include <map>

#include "views/support/live_accessibility.hpp"

namespace quorvane::testing {

// Counts the value changes told to assistive technology, per object, while
// it lives (with accessibility live, as under a screen reader): each one
// becomes an AT-SPI value-change event that a screen reader answers by
// reading the value again.
class ValueAnnouncements {
  public:
    ValueAnnouncements() {
        current_ = this;
        previous_ = QAccessible::installUpdateHandler(&ValueAnnouncements::heard);
    }
    ~ValueAnnouncements() {
        QAccessible::installUpdateHandler(previous_);
        current_ = nullptr;
    }
    ValueAnnouncements(const ValueAnnouncements&) = delete;
    ValueAnnouncements& operator=(const ValueAnnouncements&) = delete;

    int of(const QObject* object) const {
        const auto found = counts_.find(object);
        return found == counts_.end() ? 0 : found->second;
    }
    void clear() { counts_.clear(); }

  private:
    static void heard(QAccessibleEvent* event) {
        if (current_ && event->type() == QAccessible::ValueChanged)
            ++current_->counts_[event->object()];
    }

    LiveAccessibility live_;
    static inline ValueAnnouncements* current_ = nullptr;
    QAccessible::UpdateHandler previous_ = nullptr;
    std::map<const QObject*, int> counts_;
};

}  // namespace quorvane::testing
