#include "views/settings/settings_window.hpp"

namespace quorvane {

SettingsWindow::SettingsWindow(ViewContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {}

}  // namespace quorvane
