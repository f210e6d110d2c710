#pragma once

#include <QMenu>
#include <functional>
#include <memory>

namespace quorvane {

// The tray icon's context menu, with the one way out of the program. Built
// here so the screenshot program shows the very menu the tray opens.
std::unique_ptr<QMenu> makeTrayMenu(std::function<void()> quit);

}  // namespace quorvane
