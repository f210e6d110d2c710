#include "views/access/opening_focus.hpp"

#include <QVariant>
#include <QWidget>
#include <vector>

#include "views/access/reading_order.hpp"

namespace quorvane {

namespace {

constexpr const char* kKeyEffectProperty = "quorvaneKeyEffect";

}  // namespace

void setKeyEffect(QWidget* control, KeyEffect effect) {
    control->setProperty(kKeyEffectProperty, static_cast<int>(effect));
}

KeyEffect keyEffectOf(const QWidget* control) {
    const QVariant effect = control->property(kKeyEffectProperty);
    return effect.isValid() ? static_cast<KeyEffect>(effect.toInt()) : KeyEffect::stays;
}

bool focusOpeningControl(QWidget* window) {
    std::vector<QWidget*> stops;
    std::vector<KeyEffect> effects;
    for (QWidget* stop : tabStopsInReadingOrder(window)) {
        if (!stop->isVisibleTo(window) || !stop->isEnabled())
            continue;
        stops.push_back(stop);
        effects.push_back(keyEffectOf(stop));
    }
    const auto opening = openingStop(effects);
    if (!opening)
        return false;
    // The reason a window's own opening gives: no pick of the user's.
    stops[*opening]->setFocus(Qt::ActiveWindowFocusReason);
    return true;
}

}  // namespace quorvane
