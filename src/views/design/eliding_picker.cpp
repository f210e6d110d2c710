#include "views/design/eliding_picker.hpp"

#include <QAbstractItemView>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "views/design/wheel_guard.hpp"

namespace quorvane {

namespace {

// The style draws the name 1 px in from each side of the edit field.
constexpr int kLabelInset = 2;
// The style's gap between an entry's icon and its name.
constexpr int kIconGap = 4;

}  // namespace

ElidingPicker::ElidingPicker(QWidget* parent) : QComboBox(parent) {
    WheelGuard::install(this);
    // The menu-like rows the style gives a picker's list draw their text
    // whole and clip it at the list's edge; item rows elide instead.
    setItemDelegate(new QStyledItemDelegate(this));
    view()->setTextElideMode(Qt::ElideRight);
}

void ElidingPicker::setIdealWidth(int width) {
    idealWidth_ = std::max(0, width);
    updateGeometry();
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

void ElidingPicker::paintEvent(QPaintEvent*) {
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
