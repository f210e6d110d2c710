#include "views/design/screen_changing_control.hpp"

#include <QVariant>
#include <QWidget>

namespace quorvane {

namespace {

constexpr const char* kChangesScreenProperty = "quorvaneChangesScreen";

}  // namespace

void markChangesScreen(QWidget* control) {
    control->setProperty(kChangesScreenProperty, true);
}

bool changesScreen(const QWidget* control) {
    return control->property(kChangesScreenProperty).toBool();
}

}  // namespace quorvane
