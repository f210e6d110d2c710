#include "views/access/accessible_card.hpp"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include "views/access/spoken_text.hpp"
#include "views/access/toggle_button_accessible.hpp"

namespace quorvane {

namespace {

constexpr const char* kCardButtonProperty = "quorvaneCardButton";

QAbstractButton* cardButton(const QObject* card) {
    return qobject_cast<QAbstractButton*>(card->property(kCardButtonProperty).value<QObject*>());
}

// The card holds its button alone: a plain pane with no words of its own
// whose one child is the button, named by the card's title and described by
// its explanation, so the card's other parts are not read one by one. The
// button is what takes the focus, so it is the card's child with its own
// place: an element its parent does not list is taken by a screen reader for
// a destroyed one, and its focus is not spoken.
class CardAccessible : public QAccessibleWidget {
  public:
    explicit CardAccessible(QWidget* card) : QAccessibleWidget(card, QAccessible::Client) {}

    QString text(QAccessible::Text) const override { return {}; }

    int childCount() const override { return heldButton() ? 1 : 0; }

    QAccessibleInterface* child(int index) const override {
        QAbstractButton* button = heldButton();
        return index == 0 && button ? QAccessible::queryAccessibleInterface(button) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        QAbstractButton* button = heldButton();
        return child && button && child->object() == button ? 0 : -1;
    }

  private:
    // The button, while it is placed in the card itself (its interface
    // names the card as its parent).
    QAbstractButton* heldButton() const {
        QAbstractButton* button = cardButton(widget());
        return button && button->parentWidget() == widget() ? button : nullptr;
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
    // One Qt made for the card before it was marked (a bridge asks as soon
    // as anything about it is announced) is dropped for the card's own.
    if (QAccessibleInterface* existing = QAccessible::queryAccessibleInterface(card);
        existing && !dynamic_cast<CardAccessible*>(existing))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
    // Pressed by a screen reader, the button clicks at once, as the card
    // does for the pointer (Qt's own press only animates a click).
    readAsToggleButton(button);
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
