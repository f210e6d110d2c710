#include "views/access/accessible_role.hpp"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QSplitter>
#include <QWidget>
#include <QWindow>

#include "views/access/spoken_text.hpp"

namespace quorvane {

namespace {

constexpr const char* kRoleProperty = "quorvaneAccessibleRole";
constexpr const char* kHiddenProperty = "quorvaneHiddenFromAccessibility";
constexpr const char* kLabelledByProperty = "quorvaneLabelledBy";
constexpr const char* kLabelsProperty = "quorvaneLabels";

QWidget* linkedWidget(const QWidget* widget, const char* property) {
    return widget->property(property).value<QPointer<QWidget>>().data();
}

// The first of Qt's own classes `meta` derives from (ours live in the
// lower-case namespace).
QByteArray nearestQtClass(const QMetaObject* meta) {
    while (meta && !QByteArray(meta->className()).startsWith('Q'))
        meta = meta->superClass();
    return meta ? QByteArray(meta->className()) : QByteArray();
}

// Plain widgets, and the few Qt containers the windows place whose own
// reading lists parts a screen reader should not meet: a splitter's drag
// handle (an unnamed "unknown"), a message box's icon, a stack of pages
// (an unnamed "layered pane" a screen reader announces on the way into the
// page it shows). Read here as what they hold; the main window too, so it
// is active only while it holds the focus (see WidgetAccessible::state()).
bool isPlainWidget(const QObject* object) {
    const QByteArray nearest = nearestQtClass(object->metaObject());
    return nearest == "QWidget" || nearest == "QFrame" || nearest == "QSplitter" ||
           nearest == "QDialogButtonBox" || nearest == "QMessageBox" ||
           nearest == "QStackedWidget" || nearest == "QMainWindow";
}

bool hiddenFromAccessibility(const QWidget* widget) {
    // A splitter's handle only takes a mouse drag.
    return widget->property(kHiddenProperty).toBool() ||
           qobject_cast<const QSplitterHandle*>(widget);
}

// The children a screen reader finds, in Qt's order: no windows (menus are
// windows too), no hidden ones.
QWidgetList accessibleChildren(const QWidget* widget) {
    QWidgetList children;
    for (QObject* object : widget->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child && !child->isWindow() && !hiddenFromAccessibility(child))
            children.append(child);
    }
    return children;
}

class PlainWidgetAccessible : public WidgetAccessible {
  public:
    explicit PlainWidgetAccessible(QWidget* widget) : WidgetAccessible(widget) {}

    QAccessible::Role role() const override {
        if (widget()->isWindow())
            return widget()->inherits("QMessageBox") ? QAccessible::AlertMessage
                                                     : QAccessible::Window;
        if (const QVariant given = widget()->property(kRoleProperty); given.isValid())
            return static_cast<QAccessible::Role>(given.toInt());
        if (widget()->inherits("QSplitter"))
            return QAccessible::Splitter;
        if (widget()->inherits("QDialogButtonBox"))
            return QAccessible::Grouping;
        if (const auto* frame = qobject_cast<const QFrame*>(widget());
            frame && (frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine))
            return QAccessible::Separator;
        return QAccessible::Client;
    }
};

QAccessibleInterface* plainWidgetAccessible(const QString&, QObject* object) {
    if (!object || !object->isWidgetType() || !isPlainWidget(object))
        return nullptr;
    return new PlainWidgetAccessible(static_cast<QWidget*>(object));
}

}  // namespace

QString WidgetAccessible::text(QAccessible::Text kind) const {
    QString spoken = spokenText(QAccessibleWidget::text(kind));
    if (kind == QAccessible::Name && spoken.isEmpty())
        if (QWidget* heading = linkedWidget(widget(), kLabelledByProperty))
            if (QAccessibleInterface* label = QAccessible::queryAccessibleInterface(heading))
                spoken = spokenText(label->text(QAccessible::Name));
    // Qt describes a widget by its tooltip; an icon button's tooltip is its
    // name, which a screen reader would then read twice.
    if (kind == QAccessible::Description && !spoken.isEmpty() && spoken == text(QAccessible::Name))
        return {};
    return spoken;
}

QAccessible::State WidgetAccessible::state() const {
    QAccessible::State result = QAccessibleWidget::state();
    // Qt counts a widget whose focus proxy holds the focus as focused (a
    // text view's viewport, a dialog's button box): only the control that
    // holds it says so, or a screen reader finds two.
    if (result.focused && QApplication::focusWidget() != widget())
        result.focused = false;
    // Qt keeps the window under a popup (the tray panel opened over the
    // main window) the application's active window, so as the popup takes
    // the system's focus a screen reader is told that window came to the
    // front, and says its name after the popup's first control. Only the
    // window that holds the focus is active.
    const QWindow* focusWindow = QGuiApplication::focusWindow();
    if (result.active && widget()->isWindow() && focusWindow &&
        focusWindow != widget()->windowHandle())
        result.active = false;
    return result;
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>> WidgetAccessible::relations(
    QAccessible::Relation match) const {
    auto found = QAccessibleWidget::relations(match);
    const auto add = [&found](QWidget* other, QAccessible::Relation relation) {
        QAccessibleInterface* related =
            other ? QAccessible::queryAccessibleInterface(other) : nullptr;
        if (related && !found.contains(qMakePair(related, relation)))
            found.append(qMakePair(related, relation));
    };
    if (match & QAccessible::Label)
        add(linkedWidget(widget(), kLabelledByProperty), QAccessible::Label);
    if (match & QAccessible::Labelled)
        add(linkedWidget(widget(), kLabelsProperty), QAccessible::Labelled);
    return found;
}

int WidgetAccessible::childCount() const {
    return static_cast<int>(accessibleChildren(widget()).size());
}

QAccessibleInterface* WidgetAccessible::child(int index) const {
    const QWidgetList children = accessibleChildren(widget());
    if (index < 0 || index >= children.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(children.at(index));
}

int WidgetAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child)
        return -1;
    return static_cast<int>(
        accessibleChildren(widget()).indexOf(qobject_cast<QWidget*>(child->object())));
}

void installWidgetAccessible() {
    // Qt keeps factories for the application's life; one is enough.
    static const bool installed = [] {
        QAccessible::installFactory(plainWidgetAccessible);
        return true;
    }();
    (void)installed;
}

void readAs(QWidget* widget, QAccessible::Role role) {
    // Read by the widget's interface whenever it is asked, so the widget
    // may be marked before or after anything asked for it.
    widget->setProperty(kRoleProperty, static_cast<int>(role));
}

void hideFromAccessibility(QWidget* widget) {
    widget->setProperty(kHiddenProperty, true);
}

void tellAsNewObject(QWidget* widget) {
    if (!QAccessible::isActive())
        return;
    if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(widget)) {
        QAccessibleEvent gone(old, QAccessible::ObjectDestroyed);
        QAccessible::updateAccessibility(&gone);
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
    }
    QAccessibleEvent created(widget, QAccessible::ObjectCreated);
    QAccessible::updateAccessibility(&created);
    if (widget->hasFocus())
        tellFocused(widget);
}

void tellFocused(QWidget* widget) {
    QAccessibleEvent focused(widget, QAccessible::Focus);
    QAccessible::updateAccessibility(&focused);
}

void labelBy(QWidget* control, QWidget* heading) {
    control->setProperty(kLabelledByProperty, QVariant::fromValue(QPointer<QWidget>(heading)));
    heading->setProperty(kLabelsProperty, QVariant::fromValue(QPointer<QWidget>(control)));
    // Qt reads a label's buddy as the control it labels.
    if (auto* label = qobject_cast<QLabel*>(heading))
        label->setBuddy(control);
}

}  // namespace quorvane
