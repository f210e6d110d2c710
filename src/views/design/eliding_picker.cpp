#include "views/design/eliding_picker.hpp"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "views/access/shown_state_text.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/wheel_guard.hpp"

namespace quorvane {

namespace {

// The style draws the name 1 px in from each side of the edit field.
constexpr int kLabelInset = 2;
// The style's gap between an entry's icon and its name.
constexpr int kIconGap = 4;

// A picker as Qt reads one (a combo box with its list as its one child,
// opened by "Press" or "ShowMenu"), except for its name: on Linux Qt names a
// combo box by its current entry, so a screen reader heard "건너뛰기" where
// the picker is "적용 대상, 건너뛰기". A picker with an accessible name (its
// title, shown on screen or not) is named by it; the entry is its value and
// its text: Qt's bridge passes no value of a combo box on, and a screen
// reader reads a closed picker's choice from its text (or from a selected
// child, which Qt 6.4 does not offer). It takes the focus from a screen
// reader as every control does.
class PickerAccessible : public QAccessibleWidget, public ShownStateText {
  public:
    explicit PickerAccessible(ElidingPicker* picker)
        : QAccessibleWidget(picker, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString shownText() const override { return spokenText(picker()->currentText()); }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value ||
            (kind == QAccessible::Name && picker()->accessibleName().isEmpty()))
            return spokenText(picker()->currentText());
        return spokenText(QAccessibleWidget::text(kind));
    }

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(picker()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == picker()->view() ? 0 : -1;
    }

    QAccessible::State state() const override {
        QAccessible::State result = QAccessibleWidget::state();
        result.expandable = true;
        result.expanded = picker()->view()->isVisible();
        return result;
    }

    QStringList actionNames() const override {
        return QStringList{QAccessibleActionInterface::showMenuAction(),
                           QAccessibleActionInterface::pressAction()} +
               QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name != QAccessibleActionInterface::showMenuAction() &&
            name != QAccessibleActionInterface::pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        if (!picker()->isEnabled())
            return;
        if (picker()->view()->isVisible())
            picker()->hidePopup();
        else
            picker()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    ElidingPicker* picker() const { return static_cast<ElidingPicker*>(widget()); }
};

QAccessibleInterface* pickerAccessible(const QString&, QObject* object) {
    if (auto* picker = qobject_cast<ElidingPicker*>(object))
        return new PickerAccessible(picker);
    return nullptr;
}

}  // namespace

ElidingPicker::ElidingPicker(QWidget* parent) : QComboBox(parent) {
    // Qt keeps factories for the application's life; one is enough.
    static const bool installed = [] {
        QAccessible::installFactory(pickerAccessible);
        return true;
    }();
    (void)installed;
    // One Qt made while the combo box was being built is dropped.
    if (QAccessibleInterface* existing = QAccessible::queryAccessibleInterface(this);
        existing && !dynamic_cast<PickerAccessible*>(existing))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
    WheelGuard::install(this);
    // The menu-like rows the style gives a picker's list draw their text
    // whole and clip it at the list's edge; item rows elide instead.
    setItemDelegate(new QStyledItemDelegate(this));
    view()->setTextElideMode(Qt::ElideRight);
    // A new choice the user makes (an arrow key on the closed picker, a row
    // picked from the list) is read out at once where the focus is on the
    // picker; one the page shows (often with the picker's signals blocked)
    // when it is drawn.
    connect(this, &QComboBox::currentTextChanged, this, &ElidingPicker::tellChoice);
}

void ElidingPicker::setIdealWidth(int width) {
    idealWidth_ = std::max(0, width);
    updateGeometry();
}

void ElidingPicker::showPopup() {
    // Qt leaves the open list and the window it opens in unnamed; a screen
    // reader names both by the picker's title.
    setSpokenName(view(), accessibleName());
    setSpokenName(view()->window(), accessibleName());
    QComboBox::showPopup();
}

QString ElidingPicker::shownText() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    int room =
        style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this)
            .width() -
        kLabelInset;
    if (!option.currentIcon.isNull())
        room -= option.iconSize.width() + kIconGap;
    const QString whole = showsPlaceholder() ? placeholderText() : option.currentText;
    return fontMetrics().elidedText(whole, Qt::ElideRight, std::max(room, 0));
}

bool ElidingPicker::showsPlaceholder() const {
    return currentIndex() < 0 && !placeholderText().isEmpty();
}

QSize ElidingPicker::sizeHint() const {
    QSize hint = QComboBox::sizeHint();
    if (idealWidth_ > 0)
        hint.setWidth(std::clamp(idealWidth_, minimumWidth(), maximumWidth()));
    return hint;
}

QSize ElidingPicker::minimumSizeHint() const {
    QSize hint = QComboBox::minimumSizeHint();
    if (idealWidth_ > 0)
        hint.setWidth(std::min(hint.width(), sizeHint().width()));
    return hint;
}

void ElidingPicker::tellChoice() {
    const QString spoken = spokenText(currentText());
    announceShownText(this, spokenChoice_, spoken);
    spokenChoice_ = spoken;
}

void ElidingPicker::paintEvent(QPaintEvent*) {
    // What is drawn is what a screen reader was told.
    tellChoice();
    // As the picker paints itself, with the name elided to its room.
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (showsPlaceholder())
        option.palette.setBrush(QPalette::ButtonText, option.palette.placeholderText());
    option.currentText = shownText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

}  // namespace quorvane
