#include "views/access/disabled_focus_hand_over.hpp"

#include <QAbstractScrollArea>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>

#include "views/access/reading_order.hpp"

namespace quorvane {

namespace {

constexpr const char* kReturnsFocusProperty = "quorvaneReturnsFocusWhenDone";

// The scrolled page that holds `control`, else its window: the focus never
// leaves it for a neighbour.
QWidget* pageOf(QWidget* control) {
    for (QWidget* ancestor = control->parentWidget(); ancestor && !ancestor->isWindow();
         ancestor = ancestor->parentWidget()) {
        auto* area = qobject_cast<QScrollArea*>(ancestor);
        if (area && area->widget() && area->widget()->isAncestorOf(control))
            return area->widget();
    }
    return control->window();
}

bool takesFocusNow(const QWidget* stop) {
    return stop->isVisible() && stop->isEnabled();
}

}  // namespace

QWidget* nearestTabStop(QWidget* control) {
    QWidget* page = pageOf(control);
    const auto stops = tabStopsInReadingOrder(page);
    const auto at = std::find(stops.begin(), stops.end(), control);
    if (at == stops.end())
        return nullptr;
    const auto index = static_cast<std::size_t>(at - stops.begin());
    for (QWidget* around = control->parentWidget(); around; around = around->parentWidget()) {
        const auto usable = [&](QWidget* stop) {
            return stop != control && around->isAncestorOf(stop) && takesFocusNow(stop);
        };
        for (std::size_t before = index; before-- > 0;) {
            if (usable(stops[before]))
                return stops[before];
        }
        for (std::size_t after = index + 1; after < stops.size(); ++after) {
            if (usable(stops[after]))
                return stops[after];
        }
        if (around == page)
            break;
    }
    return nullptr;
}

void DisabledFocusHandOver::focusOut(QWidget* control) {
    if (control->isEnabled())
        return;
    from_ = control;
    places_.clear();
    QWidget* window = control->window();
    for (auto* area : window->findChildren<QAbstractScrollArea*>()) {
        for (QScrollBar* bar : {area->verticalScrollBar(), area->horizontalScrollBar()})
            places_.push_back({bar, bar->value()});
    }
}

void returnsFocusWhenDone(QWidget* control) {
    control->setProperty(kReturnsFocusProperty, true);
}

bool DisabledFocusHandOver::enabledChanged(QWidget* control) {
    if (control->isEnabled()) {
        takeBack(control);
        return false;
    }
    if (control != from_)
        return false;
    from_.clear();
    const auto places = std::move(places_);
    places_.clear();
    QWidget* neighbour = nearestTabStop(control);
    if (!neighbour)
        return true;
    for (const auto& place : places) {
        if (place.bar)
            place.bar->setValue(place.value);
    }
    neighbour->setFocus(Qt::OtherFocusReason);
    lend(control, neighbour);
    return false;
}

void DisabledFocusHandOver::hiding(QWidget* control) {
    // Only the control hidden itself, not one whose window or page goes.
    // Every widget's hide passes here: the focus is asked first, the
    // property lookup only of the one holding it.
    if (!control->hasFocus() || !control->isHidden() ||
        !control->property(kReturnsFocusProperty).toBool())
        return;
    // Qt would hand the focus on to the next control of the chain, which
    // can wrap round to the top of the window.
    QWidget* neighbour = nearestTabStop(control);
    if (!neighbour)
        return;
    neighbour->setFocus(Qt::OtherFocusReason);
    lend(control, neighbour);
}

void DisabledFocusHandOver::shown(QWidget* control) {
    takeBack(control);
}

void DisabledFocusHandOver::lend(QWidget* control, QWidget* neighbour) {
    if (control->property(kReturnsFocusProperty).toBool())
        lent_ = {control, neighbour};
}

void DisabledFocusHandOver::takeBack(QWidget* control) {
    if (control != lent_.owner || !takesFocusNow(control))
        return;
    QWidget* holder = lent_.holder;
    lent_ = {};
    if (holder && holder->hasFocus())
        control->setFocus(Qt::OtherFocusReason);
}

void DisabledFocusHandOver::forget() {
    from_.clear();
    places_.clear();
}

}  // namespace quorvane
