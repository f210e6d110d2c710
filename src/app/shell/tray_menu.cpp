#include "app/shell/tray_menu.hpp"

#include <QAction>

namespace quorvane {

std::unique_ptr<QMenu> makeTrayMenu(std::function<void()> quit) {
    auto menu = std::make_unique<QMenu>();
    QAction* quitAction = menu->addAction(QStringLiteral("Quorvane 종료"));
    QObject::connect(quitAction, &QAction::triggered, menu.get(),
                     [quit = std::move(quit)] { quit(); });
    return menu;
}

}  // namespace quorvane
