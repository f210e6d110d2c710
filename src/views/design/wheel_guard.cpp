#include "views/design/wheel_guard.hpp"

#include <QEvent>
#include <QWidget>

namespace quorvane {

WheelGuard::WheelGuard(QWidget* control) : QObject(control), control_(control) {}

void WheelGuard::install(QWidget* control) {
    // Sliders and pickers may take the focus from a wheel (Qt::WheelFocus);
    // a click or Tab still gives it.
    control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(new WheelGuard(control));
}

bool WheelGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched != control_ || event->type() != QEvent::Wheel || control_->hasFocus())
        return false;
    // Consumed here but not accepted: Qt hands it on to the parents, up to
    // the scroll area's viewport.
    event->ignore();
    return true;
}

}  // namespace quorvane
