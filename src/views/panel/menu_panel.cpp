#include "views/panel/menu_panel.hpp"

namespace quorvane {

MenuPanel::MenuPanel(ViewContext& context, QWidget* parent) : QWidget(parent), context_(context) {}

}  // namespace quorvane
