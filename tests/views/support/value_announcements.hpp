#pragma once

#include <QAccessible>
#include <QObject>
#include <QString>
#include <map>
#include <vector>

#include "views/support/accessible_event_hook.hpp"
#include "views/support/live_accessibility.hpp"

namespace quorvane::testing {

// Counts the value changes told to assistive technology, per object, while
// it lives (with accessibility live, as under a screen reader): each one
// becomes an AT-SPI value-change event that a screen reader answers by
// reading the value again. Also keeps the words told as inserted into an
// object's text (an AT-SPI text-changed event), which a screen reader speaks
// where the focus is when they are its selected text.
class ValueAnnouncements {
  public:
    int of(const QObject* object) const {
        const auto found = counts_.find(object);
        return found == counts_.end() ? 0 : found->second;
    }
    std::vector<QString> inserted(const QObject* object) const {
        const auto found = inserted_.find(object);
        return found == inserted_.end() ? std::vector<QString>{} : found->second;
    }
    void clear() {
        counts_.clear();
        inserted_.clear();
    }

  private:
    void heard(QAccessibleEvent* event) {
        if (event->type() == QAccessible::ValueChanged)
            ++counts_[event->object()];
        if (event->type() == QAccessible::TextInserted)
            inserted_[event->object()].push_back(
                static_cast<QAccessibleTextInsertEvent*>(event)->textInserted());
    }

    LiveAccessibility live_;
    std::map<const QObject*, int> counts_;
    std::map<const QObject*, std::vector<QString>> inserted_;
    AccessibleEventHook hook_{[this](QAccessibleEvent* event) { heard(event); }};
};

}  // namespace quorvane::testing
