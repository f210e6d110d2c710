#pragma once

#include <QAccessible>
#include <QObject>
#include <QString>
#include <map>
#include <vector>

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
    std::vector<QString> inserted(const QObject* object) const {
        const auto found = inserted_.find(object);
        return found == inserted_.end() ? std::vector<QString>{} : found->second;
    }
    void clear() {
        counts_.clear();
        inserted_.clear();
    }

  private:
    static void heard(QAccessibleEvent* event) {
        if (!current_)
            return;
        if (event->type() == QAccessible::ValueChanged)
            ++current_->counts_[event->object()];
        if (event->type() == QAccessible::TextInserted)
            current_->inserted_[event->object()].push_back(
                static_cast<QAccessibleTextInsertEvent*>(event)->textInserted());
    }

    LiveAccessibility live_;
    static inline ValueAnnouncements* current_ = nullptr;
    QAccessible::UpdateHandler previous_ = nullptr;
    std::map<const QObject*, int> counts_;
    std::map<const QObject*, std::vector<QString>> inserted_;
};

}  // namespace quorvane::testing
