#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPoint>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QWheelEvent>
#include <QWidget>
#include <functional>

namespace quorvane::testing {

// Turns the mouse wheel by `notches` (negative: towards the user, scrolling
// down) with the pointer over `target` at `at` (the centre by default), the
// way the window system delivers it: to the widget under the pointer, and on
// to its parents while none of them accepts it.
inline void turnWheel(QWidget* target, int notches = -1, QPoint at = QPoint(-1, -1)) {
    if (at == QPoint(-1, -1))
        at = target->rect().center();
    QWidget* window = target->window();
    const QPoint inWindow = target->mapTo(window, at);
    QWidget* hit = window->childAt(inWindow);
    if (!hit)
        hit = window;
    if (hit != target && !target->isAncestorOf(hit))
        ADD_FAILURE() << "the pointer is not over the " << target->metaObject()->className()
                      << " but over a " << hit->metaObject()->className();
    const QPoint local = hit->mapFrom(window, inWindow);
    QWheelEvent wheel(QPointF(local), QPointF(hit->mapToGlobal(local)), QPoint(),
                      QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    // Only a wheel from the window system travels up to the parents; sent
    // straight to notify() as QTest sends its mouse events, it stays one.
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(hit, &wheel);
}

// Whether a wheel over `control` scrolls the page around it: the control is
// brought into view in the nearest scroll area holding it, the wheel turns
// one notch towards where the page has room, and `settle` lets the events
// through.
inline bool wheelScrollsPast(QWidget* control, const std::function<void()>& settle) {
    QScrollArea* area = nullptr;
    for (QWidget* parent = control->parentWidget(); parent && !area;
         parent = parent->parentWidget())
        area = qobject_cast<QScrollArea*>(parent);
    if (!area) {
        ADD_FAILURE() << "no scroll area holds the " << control->metaObject()->className();
        return false;
    }
    area->ensureWidgetVisible(control);
    settle();
    QScrollBar* bar = area->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0) << "the page must be able to scroll";
    const int before = bar->value();
    turnWheel(control, before < bar->maximum() ? -1 : 1);
    settle();
    return bar->value() != before;
}

}  // namespace quorvane::testing
