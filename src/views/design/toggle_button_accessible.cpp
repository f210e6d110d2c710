#include "views/design/toggle_button_accessible.hpp"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>

namespace quorvane {

namespace {

constexpr const char* kToggleButtonProperty = "quorvaneReadAsToggleButton";

class ToggleButtonAccessible : public QAccessibleWidget {
  public:
    explicit ToggleButtonAccessible(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {
        addControllingSignal(QStringLiteral("clicked(bool)"));
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && button()->accessibleName().isEmpty()) {
            // "&&" is a literal ampersand; a lone "&" marks the shortcut.
            QString name = button()->text();
            name.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
            name.remove(QLatin1Char('&'));
            name.replace(QStringLiteral("\x01"), QStringLiteral("&"));
            return name;
        }
        return QAccessibleWidget::text(kind);
    }

    // As Qt reads a checkable button: a radio button when its siblings
    // exclude each other by themselves, else a check box.
    QAccessible::Role role() const override {
        if (!button()->isCheckable())
            return QAccessible::Button;
        return button()->autoExclusive() ? QAccessible::RadioButton : QAccessible::CheckBox;
    }

    QAccessible::State state() const override {
        QAccessible::State result = QAccessibleWidget::state();
        result.checkable = button()->isCheckable();
        result.checked = button()->isChecked();
        result.pressed = button()->isDown();
        return result;
    }

    QStringList actionNames() const override {
        if (!button()->isEnabled())
            return QAccessibleWidget::actionNames();
        return QStringList{QAccessibleActionInterface::pressAction(),
                           QAccessibleActionInterface::toggleAction()} +
               QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name != QAccessibleActionInterface::pressAction() &&
            name != QAccessibleActionInterface::toggleAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        if (button()->isEnabled())
            button()->click();
    }

  private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* toggleButtonAccessible(const QString&, QObject* object) {
    auto* button = qobject_cast<QAbstractButton*>(object);
    if (button && button->property(kToggleButtonProperty).toBool())
        return new ToggleButtonAccessible(button);
    return nullptr;
}

}  // namespace

void readAsToggleButton(QAbstractButton* button) {
    // Qt keeps factories for the application's life; one is enough.
    static const bool installed = [] {
        QAccessible::installFactory(toggleButtonAccessible);
        return true;
    }();
    (void)installed;
    button->setProperty(kToggleButtonProperty, true);
    // Qt makes and keeps a button's interface as soon as it reports a change
    // (setCheckable() does); one made before this call is dropped so that
    // the next query builds the right one.
    QAccessibleInterface* existing = QAccessible::queryAccessibleInterface(button);
    if (existing && !dynamic_cast<ToggleButtonAccessible*>(existing))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
}

}  // namespace quorvane
