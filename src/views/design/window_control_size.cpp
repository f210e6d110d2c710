#include "views/design/window_control_size.hpp"

#include <QApplication>
#include <QEvent>
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
