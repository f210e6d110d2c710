#include "views/design/accessible_card.hpp"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include "views/design/spoken_text.hpp"

namespace quorvane {

namespace {

constexpr const char* kCardButtonProperty = "quorvaneCardButton";

QAbstractButton* cardButton(const QObject* card) {
    return qobject_cast<QAbstractButton*>(card->property(kCardButtonProperty).value<QObject*>());
}

// The card as one button: its own name and description, its button's
// enabled and focus state, no children of its own.
class CardAccessible : public QAccessibleWidget {
  public:
    explicit CardAccessible(QWidget* card) : QAccessibleWidget(card, QAccessible::Button) {}

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QAccessible::State state() const override {
        QAccessible::State result = QAccessibleWidget::state();
        if (const QAbstractButton* button = cardButton(widget())) {
            result.disabled = !button->isEnabled();
            result.focusable = button->focusPolicy() != Qt::NoFocus;
            result.focused = button->hasFocus();
        }
        return result;
    }

    // Pressed, or given the focus (a screen reader's "grab focus"), as its
    // button would be.
    QStringList actionNames() const override {
        QStringList actions{QAccessibleActionInterface::pressAction()};
        if (const QAbstractButton* button = cardButton(widget());
            button && button->isEnabled() && button->focusPolicy() != Qt::NoFocus)
            actions << QAccessibleActionInterface::setFocusAction();
        return actions;
    }

    void doAction(const QString& name) override {
        QAbstractButton* button = cardButton(widget());
        if (!button || !button->isEnabled())
            return;
        if (name == QAccessibleActionInterface::pressAction())
            button->click();
        else if (name == QAccessibleActionInterface::setFocusAction() &&
                 button->focusPolicy() != Qt::NoFocus)
            button->setFocus(Qt::OtherFocusReason);
    }
};

QAccessibleInterface* cardAccessibleFactory(const QString&, QObject* object) {
    if (object && object->isWidgetType() && cardButton(object))
        return new CardAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

void installCardAccessibleFactory() {
    // Qt keeps factories for the application's life; one is enough.
    static const bool installed = [] {
        QAccessible::installFactory(cardAccessibleFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace

void readAsOneButton(QWidget* card, QAbstractButton* button, const QString& title,
                     const QString& description) {
    installCardAccessibleFactory();
    card->setProperty(kCardButtonProperty, QVariant::fromValue<QObject*>(button));
    setSpokenName(card, title);
    setSpokenDescription(card, description);
    setSpokenName(button, title);
    setSpokenDescription(button, description);
}

QWidget* cardReadAsOneButton(const QWidget* control) {
    if (!control)
        return nullptr;
    for (QWidget* ancestor = control->parentWidget(); ancestor && !ancestor->isWindow();
         ancestor = ancestor->parentWidget()) {
        if (cardButton(ancestor) == control)
            return ancestor;
    }
    return nullptr;
}

}  // namespace quorvane
