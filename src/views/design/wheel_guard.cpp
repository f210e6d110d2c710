#include "views/design/wheel_guard.hpp"

#include <QFocusEvent>
#include <QWidget>

namespace quorvane {

WheelGuard::WheelGuard(QWidget* control) : QObject(control), control_(control) {}

void WheelGuard::install(QWidget* control) {
    // Sliders and pickers may take the focus from a wheel (Qt::WheelFocus);
    // a click or Tab still gives it.
    control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(new WheelGuard(control));
}

namespace {

// Focus that comes and goes with the window (its opening, its activation, a
// menu over it) says nothing about what the user picked.
bool windowFocusReason(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

}  // namespace

bool WheelGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched != control_)
        return false;
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            focusChanged(*static_cast<QFocusEvent*>(event));
            return false;
        case QEvent::MouseButtonPress:
            // Also when it already held the focus its window gave it.
            picked_ = true;
            return false;
        case QEvent::Hide:
            picked_ = false;
            return false;
        case QEvent::Wheel:
            if (picked_ && control_->hasFocus())
                return false;
            // Consumed here but not accepted: Qt hands it on to the parents, up
            // to the scroll area's viewport.
            event->ignore();
            return true;
        default:
            return false;
    }
}

void WheelGuard::focusChanged(const QFocusEvent& event) {
    if (windowFocusReason(event.reason()))
        return;
    picked_ = event.gotFocus();
}

}  // namespace quorvane
