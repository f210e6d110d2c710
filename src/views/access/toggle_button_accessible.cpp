#include "views/access/toggle_button_accessible.hpp"

#include <QAbstractButton>
#include <QAccessible>
#include <QButtonGroup>
#include <QPushButton>

#include "views/access/accessible_role.hpp"
#include "views/access/spoken_text.hpp"

namespace quorvane {

namespace {

constexpr const char* kToggleButtonProperty = "quorvaneReadAsToggleButton";
constexpr const char* kSelectedValueProperty = "quorvaneSelectedValue";

class ToggleButtonAccessible : public WidgetAccessible {
  public:
    explicit ToggleButtonAccessible(QAbstractButton* button)
        : WidgetAccessible(button, QAccessible::Button) {
        addControllingSignal(QStringLiteral("clicked(bool)"));
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && button()->accessibleName().isEmpty()) {
            // "&&" is a literal ampersand; a lone "&" marks the shortcut.
            QString name = button()->text();
            name.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
            name.remove(QLatin1Char('&'));
            name.replace(QStringLiteral("\x01"), QStringLiteral("&"));
            // A box without words of its own (a switch in a row) is named by
            // the heading that labels it.
            if (name.isEmpty())
                return WidgetAccessible::text(kind);
            return spokenText(name);
        }
        if (kind == QAccessible::Value && selectable())
            return button()->isChecked() ? selectedValue() : QString();
        return WidgetAccessible::text(kind);
    }

    // A checkable button is one choice of several (a radio button) when
    // its siblings exclude each other, by themselves or through the
    // exclusive group they are in (a picker's segments), else a check box.
    QAccessible::Role role() const override {
        if (menuButton())
            return QAccessible::ButtonMenu;
        if (!button()->isCheckable())
            return QAccessible::Button;
        const QButtonGroup* group = button()->group();
        const bool exclusive = button()->autoExclusive() || (group && group->exclusive());
        return exclusive ? QAccessible::RadioButton : QAccessible::CheckBox;
    }

    QAccessible::State state() const override {
        QAccessible::State result = QAccessibleWidget::state();
        result.checkable = button()->isCheckable();
        result.checked = button()->isChecked();
        result.pressed = button()->isDown();
        result.selectable = selectable();
        result.selected = selectable() && button()->isChecked();
        return result;
    }

    QStringList actionNames() const override {
        if (!button()->isEnabled())
            return QAccessibleWidget::actionNames();
        QStringList actions{QAccessibleActionInterface::pressAction()};
        if (menuButton())
            actions << QAccessibleActionInterface::showMenuAction();
        else if (button()->isCheckable())
            actions << QAccessibleActionInterface::toggleAction();
        return actions + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (QPushButton* withMenu = menuButton();
            withMenu && withMenu->isEnabled() &&
            (name == QAccessibleActionInterface::pressAction() ||
             name == QAccessibleActionInterface::showMenuAction())) {
            // Opened on the next turn, so that the screen reader's call
            // returns before the menu takes the keyboard.
            QMetaObject::invokeMethod(withMenu, &QPushButton::showMenu, Qt::QueuedConnection);
            return;
        }
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
    QString selectedValue() const { return button()->property(kSelectedValueProperty).toString(); }
    bool selectable() const { return !selectedValue().isEmpty(); }
    // A push button that opens a menu (a click shows the menu).
    QPushButton* menuButton() const {
        auto* push = qobject_cast<QPushButton*>(widget());
        return push && push->menu() ? push : nullptr;
    }
};

QAccessibleInterface* toggleButtonAccessible(const QString&, QObject* object) {
    auto* button = qobject_cast<QAbstractButton*>(object);
    if (button && button->property(kToggleButtonProperty).toBool())
        return new ToggleButtonAccessible(button);
    return nullptr;
}

}  // namespace

void readAsSelectableOption(QAbstractButton* button, const QString& selectedValue) {
    button->setProperty(kSelectedValueProperty, selectedValue);
    readAsToggleButton(button);
}

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
