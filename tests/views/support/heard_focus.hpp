#pragma once

// Where a screen reader finds a control and the focus, read through the
// accessible interfaces the bridge reads, and whether the window shows it.

#include <QAccessible>
#include <QApplication>
#include <QScrollArea>
#include <QWidget>
#include <string>

namespace quorvane::testing {

// Where the screen reader finds a control, in screen coordinates.
inline QRect heardRect(QWidget* widget) {
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(widget);
    return heard ? heard->rect() : QRect();
}

// The name a screen reader reads for a control.
inline std::string heardText(QWidget* widget) {
    QAccessibleInterface* heard = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    return heard ? heard->text(QAccessible::Name).toStdString() : std::string();
}

// The first label a screen reader finds for a control, by its name.
inline std::string heardFirstLabel(QWidget* widget) {
    const auto labels =
        QAccessible::queryAccessibleInterface(widget)->relations(QAccessible::Label);
    return labels.isEmpty() ? std::string()
                            : labels.front().first->text(QAccessible::Name).toStdString();
}

// The control's class and the name a screen reader reads, for messages.
inline std::string heardName(QWidget* widget) {
    if (!widget)
        return "nothing";
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(widget);
    const QString name = heard ? heard->text(QAccessible::Name) : QString();
    return std::string(widget->metaObject()->className()) + " \"" + name.toStdString() + "\"";
}

// What a screen reader reads as the focus when `focused` holds it: the
// outermost element around it that reports the focus, else the control
// itself.
inline QWidget* heardFocus(QWidget* focused) {
    QWidget* heard = focused;
    for (QWidget* ancestor = focused->parentWidget(); ancestor && !ancestor->isWindow();
         ancestor = ancestor->parentWidget()) {
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(ancestor);
        if (read && read->state().focused)
            heard = ancestor;
    }
    return heard;
}

// The part of the screen where `widget` can be seen: its window's frame, cut
// to the viewport of every scroll area around it.
inline QRect seenArea(QWidget* widget) {
    QWidget* window = widget->window();
    QRect area(window->mapToGlobal(QPoint(0, 0)), window->size());
    for (QWidget* ancestor = widget->parentWidget(); ancestor && ancestor != window;
         ancestor = ancestor->parentWidget()) {
        if (auto* scroll = qobject_cast<QScrollArea*>(ancestor))
            area &=
                QRect(scroll->viewport()->mapToGlobal(QPoint(0, 0)), scroll->viewport()->size());
    }
    return area;
}

// The focus as a screen reader reads it lies where the window shows it.
inline bool focusInSight() {
    QWidget* focused = QApplication::focusWidget();
    return focused && seenArea(focused).contains(heardRect(heardFocus(focused)));
}

}  // namespace quorvane::testing
