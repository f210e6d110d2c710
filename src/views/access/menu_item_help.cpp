#include "views/access/menu_item_help.hpp"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QStyle>

#include "views/access/spoken_text.hpp"

namespace quorvane {

namespace {

constexpr const char* kHelpProperty = "quorvaneMenuItemHelp";

// "&&" is a literal ampersand; a lone "&" marks the shortcut.
QString withoutMnemonic(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

// A menu item as Qt reads one (its place in its menu, its states, "Press"),
// with its help text as description.
class DescribedMenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    DescribedMenuItemAccessible(QAction* item, QMenu* menu) : item_(item), menu_(menu) {}

    bool isValid() const override { return item_ && menu_; }
    QObject* object() const override { return item_; }
    QWindow* window() const override {
        if (!menu_)
            return nullptr;
        if (QWindow* own = menu_->windowHandle())
            return own;
        const QWidget* native = menu_->nativeParentWidget();
        return native ? native->windowHandle() : nullptr;
    }

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(menu_);
    }
    int childCount() const override { return item_->menu() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && item_->menu() ? QAccessible::queryAccessibleInterface(item_->menu())
                                           : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && item_->menu() && child->object() == item_->menu() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* submenu = child(0);
        return submenu && submenu->rect().contains(x, y) ? submenu : nullptr;
    }

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
            case QAccessible::Name:
                return withoutMnemonic(item_->text());
            case QAccessible::Description:
                return spokenText(item_->property(kHelpProperty).toString());
            case QAccessible::Accelerator:
                return item_->shortcut().toString();
            default:
                return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        return menu_->actionGeometry(item_).translated(menu_->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override {
        return item_->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
    }
    QAccessible::State state() const override {
        QAccessible::State result;
        result.invisible = !menu_->testAttribute(Qt::WA_WState_Visible) || !item_->isVisible();
        result.focused = menu_->activeAction() == item_;
        result.hotTracked = menu_->style()->styleHint(QStyle::SH_Menu_MouseTracking);
        result.disabled = item_->isSeparator() || !item_->isEnabled();
        result.checkable = item_->isCheckable();
        result.checked = item_->isChecked();
        return result;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override {
        if (item_->isSeparator())
            return {};
        return {item_->menu() ? showMenuAction() : pressAction()};
    }
    void doAction(const QString& name) override {
        if (!item_->isEnabled())
            return;
        if (name == pressAction()) {
            item_->trigger();
        } else if (name == showMenuAction()) {
            if (item_->menu()->isVisible())
                item_->menu()->hide();
            else
                menu_->setActiveAction(item_);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QPointer<QAction> item_;
    QPointer<QMenu> menu_;
};

// The menu that shows the item.
QMenu* menuOf(const QAction* item) {
    for (QObject* shown : item->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(shown); menu && menu->actions().contains(item))
            return menu;
    return nullptr;
}

QAccessibleInterface* describedMenuItemAccessible(const QString&, QObject* object) {
    auto* item = qobject_cast<QAction*>(object);
    if (!item || !item->property(kHelpProperty).isValid())
        return nullptr;
    QMenu* menu = menuOf(item);
    return menu ? new DescribedMenuItemAccessible(item, menu) : nullptr;
}

}  // namespace

void setMenuItemHelp(QAction* item, const QString& help) {
    // Qt keeps factories for the application's life; one is enough.
    static const bool installed = [] {
        QAccessible::installFactory(describedMenuItemAccessible);
        return true;
    }();
    (void)installed;
    item->setToolTip(help);
    item->setProperty(kHelpProperty, help);
    // One Qt made for the item before (a screen reader reading the open
    // menu) is dropped so that the next query builds the described one.
    QAccessibleInterface* existing = QAccessible::queryAccessibleInterface(item);
    if (existing && !dynamic_cast<DescribedMenuItemAccessible*>(existing))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
}

}  // namespace quorvane
