#include "views/design/window_control_size.hpp"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace quorvane {

namespace {

constexpr const char* kControlSizeProperty = "quorvaneControlSize";

}  // namespace

void setWindowControlSize(QWidget* window, QuorvaneControlSize size) {
    const QVariant wanted(static_cast<int>(size));
    if (window->property(kControlSizeProperty) == wanted)
        return;
    window->setProperty(kControlSizeProperty, wanted);
    // A button box lays its buttons out again on this notice, hiding and
    // showing each, which hands the focus of the one focused to the first:
    // a question's safe button would pass Return on to a destructive one.
    // The focus stays where it was.
    const QPointer<QWidget> focused = window->focusWidget();
    // The style's measures changed for every widget of the window: the same
    // notice Qt sends after a new style, so cached size hints are dropped
    // and layouts run again.
    QEvent notice(QEvent::StyleChange);
    QApplication::sendEvent(window, &notice);
    const auto children = window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (child->window() != window)
            continue;  // a window of its own keeps its own size
        QEvent childNotice(QEvent::StyleChange);
        QApplication::sendEvent(child, &childNotice);
    }
    if (focused && window->focusWidget() != focused && focused->isVisibleTo(window) &&
        focused->isEnabled())
        focused->setFocus(Qt::OtherFocusReason);
}

QuorvaneControlSize controlSizeOf(const QWidget* widget) {
    if (!widget)
        return QuorvaneControlSize::regular;
    const QVariant value = widget->window()->property(kControlSizeProperty);
    if (!value.isValid())
        return QuorvaneControlSize::regular;
    switch (value.toInt()) {
        case static_cast<int>(QuorvaneControlSize::large):
            return QuorvaneControlSize::large;
        case static_cast<int>(QuorvaneControlSize::extraLarge):
            return QuorvaneControlSize::extraLarge;
        default:
            return QuorvaneControlSize::regular;
    }
}

}  // namespace quorvane
