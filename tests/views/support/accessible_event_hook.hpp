#pragma once

#include <QAccessible>
#include <functional>
#include <utility>

namespace quorvane::testing {

// Hands every event told to assistive technology to `heard` while it lives.
// Qt keeps one handler, a plain function: the newest hook takes the events,
// and one made to pass them on hands each to the hook (or handler) it
// replaced afterwards.
class AccessibleEventHook {
  public:
    explicit AccessibleEventHook(std::function<void(QAccessibleEvent*)> heard,
                                 bool passesOn = false)
        : heard_(std::move(heard)), passesOn_(passesOn), outer_(std::exchange(current_, this)) {
        previous_ = QAccessible::installUpdateHandler(&AccessibleEventHook::dispatch);
    }
    ~AccessibleEventHook() {
        QAccessible::installUpdateHandler(previous_);
        current_ = outer_;
    }
    AccessibleEventHook(const AccessibleEventHook&) = delete;
    AccessibleEventHook& operator=(const AccessibleEventHook&) = delete;

  private:
    static void dispatch(QAccessibleEvent* event) {
        if (current_)
            current_->hear(event);
    }

    void hear(QAccessibleEvent* event) {
        heard_(event);
        if (!passesOn_)
            return;
        if (outer_)
            outer_->hear(event);
        else if (previous_)
            previous_(event);
    }

    std::function<void(QAccessibleEvent*)> heard_;
    bool passesOn_;
    AccessibleEventHook* outer_;
    QAccessible::UpdateHandler previous_ = nullptr;
    static inline AccessibleEventHook* current_ = nullptr;
};

}  // namespace quorvane::testing
