#pragma once

#include <QAccessible>
#include <QRegularExpression>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace quorvane::testing {

// Visits `root` and every accessible interface under it, depth first, the
// way a screen reader walks the tree a bridge publishes.
inline void walkAccessibleTree(QAccessibleInterface* root,
                               const std::function<void(QAccessibleInterface*)>& visit,
                               int depth = 0) {
    if (!root || !root->isValid() || depth > 64)
        return;
    visit(root);
    for (int index = 0; index < root->childCount(); ++index)
        walkAccessibleTree(root->child(index), visit, depth + 1);
}

inline std::string describe(QAccessibleInterface* accessible) {
    const char* type = accessible->object() ? accessible->object()->metaObject()->className() : "?";
    return std::string(type) + " \"" + accessible->text(QAccessible::Name).toStdString() + "\"";
}

// Every enabled control under `widget` announced as a button that a screen
// reader cannot press: no "Press" action (a toggle may offer "Toggle", a menu
// button "ShowMenu", as Qt's own buttons do).
inline std::vector<std::string> unpressableButtons(QWidget* widget) {
    std::vector<std::string> found;
    walkAccessibleTree(QAccessible::queryAccessibleInterface(widget), [&](QAccessibleInterface* a) {
        const auto role = a->role();
        if (role != QAccessible::Button && role != QAccessible::ButtonMenu &&
            role != QAccessible::ButtonDropDown && role != QAccessible::CheckBox &&
            role != QAccessible::RadioButton)
            return;
        if (a->state().disabled)
            return;
        const QStringList actions =
            a->actionInterface() ? a->actionInterface()->actionNames() : QStringList();
        for (const QString& action :
             {QAccessibleActionInterface::pressAction(), QAccessibleActionInterface::toggleAction(),
              QAccessibleActionInterface::showMenuAction()}) {
            if (actions.contains(action))
                return;
        }
        found.push_back(describe(a));
    });
    return found;
}

// The leading number of a readout ("60%", "6500K", "1.00"); NaN without one.
inline double readoutNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?"));
    const auto match = number.match(text);
    return match.hasMatch() ? match.captured().toDouble() : qQNaN();
}

// Every slider under `widget` whose numeric value (what the Linux bridge
// passes on) is not the number its value text shows, or lies outside its
// range; `sliders` counts the sliders seen.
inline std::vector<std::string> slidersNotReadInTheirUnit(QWidget* widget, int* sliders = nullptr) {
    std::vector<std::string> found;
    walkAccessibleTree(QAccessible::queryAccessibleInterface(widget), [&](QAccessibleInterface* a) {
        if (a->role() != QAccessible::Slider)
            return;
        if (sliders)
            ++*sliders;
        auto* value = a->valueInterface();
        if (!value) {
            found.push_back(describe(a) + " has no value interface");
            return;
        }
        const double current = value->currentValue().toDouble();
        const double minimum = value->minimumValue().toDouble();
        const double maximum = value->maximumValue().toDouble();
        const QString text = a->text(QAccessible::Value);
        if (!qFuzzyCompare(current + 1, readoutNumber(text) + 1) || current < minimum ||
            current > maximum) {
            found.push_back(describe(a) + " reads " + std::to_string(current) + " in " +
                            std::to_string(minimum) + "…" + std::to_string(maximum) +
                            " but shows \"" + text.toStdString() + "\"");
        }
    });
    return found;
}

}  // namespace quorvane::testing
