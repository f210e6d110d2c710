#include "views/access/application_accessible.hpp"

#include <QAccessible>
#include <QAccessibleObject>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>

namespace quorvane {

namespace {

// The windows in Qt's order, with the popups that show.
QObjectList reachableWindows() {
    QObjectList windows;
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->type() == Qt::Desktop)
            continue;
        if (window->type() == Qt::Popup && !window->isVisible())
            continue;
        if (QAccessibleInterface* root = window->accessibleRoot(); root && root->object())
            windows.append(root->object());
    }
    return windows;
}

class ApplicationAccessible : public QAccessibleApplication {
  public:
    int childCount() const override { return static_cast<int>(reachableWindows().size()); }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        return static_cast<int>(reachableWindows().indexOf(child->object()));
    }

    QAccessibleInterface* child(int index) const override {
        const QObjectList windows = reachableWindows();
        if (index < 0 || index >= windows.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(windows.at(index));
    }
};

QAccessibleInterface* applicationAccessible(const QString&, QObject* object) {
    if (object && object == QCoreApplication::instance())
        return new ApplicationAccessible;
    return nullptr;
}

}  // namespace

void installApplicationAccessible() {
    QAccessible::installFactory(applicationAccessible);
}

}  // namespace quorvane
