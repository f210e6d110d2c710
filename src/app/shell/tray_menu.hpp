#pragma once

#include <QMenu>
#include <functional>
#include <memory>

namespace quorvane {

// The tray icon's menu: "Quorvane 종료", which calls `quit`. A window of its
// own with no parent; it takes the theme like every other window.
std::unique_ptr<QMenu> makeTrayMenu(std::function<void()> quit);

}  // namespace quorvane
