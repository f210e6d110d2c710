#include "views/design/window_theme_follower.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include "views/design/theme.hpp"

namespace quorvane {

WindowThemeFollower::WindowThemeFollower(Theme& theme, QObject* parent)
    : QObject(parent), theme_(theme) {
    QCoreApplication::instance()->installEventFilter(this);
}

WindowThemeFollower::~WindowThemeFollower() {
    if (auto* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

bool WindowThemeFollower::eventFilter(QObject* watched, QEvent* event) {
    // Every event of the application passes here: leave at once unless a
    // widget is about to appear.
    const auto type = event->type();
    if (type != QEvent::Polish && type != QEvent::Show)
        return false;
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow())
        return false;
    // A widget not yet placed in a window is a window too while it has no
    // parent, and may be polished then (measured before it is put in a
    // layout). A plain window joins when it is being shown; menus, dialogs
    // and other special windows as soon as they are polished (a menu
    // measures itself before it shows).
    if (type == QEvent::Polish && widget->windowType() == Qt::Window &&
        !widget->testAttribute(Qt::WA_WState_ExplicitShowHide))
        return false;
    theme_.applyToWindow(widget);
    return false;
}

}  // namespace quorvane
