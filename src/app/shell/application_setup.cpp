#include "app/shell/application_setup.hpp"

#include <QApplication>

#include "views/access/accessible_role.hpp"
#include "views/design/application_style.hpp"
#include "views/design/qt_translation.hpp"

namespace quorvane {

ApplicationSetup::ApplicationSetup(QApplication&) {
    // Asked before Qt's own widget interfaces.
    installWidgetAccessible();
    qtTexts_ = installQtTranslation();
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setDesktopFileName(QStringLiteral("quorvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    // The theme's palette is drawn best by Fusion, the same on every desktop.
    QApplication::setStyle(new ApplicationStyle);
}

}  // namespace quorvane
