#include "views/design/keyboard_back_to_opener.hpp"

#include <QApplication>
#include <QDialog>

#include "presentation/design/closed_dialog.hpp"

namespace quorvane {

void handKeyboardBackOnClose(QDialog& dialog) {
    QObject::connect(&dialog, &QDialog::finished, &dialog, [&dialog] {
        if (!dialog.parentWidget())
            return;
        QWidget* opener = dialog.parentWidget()->window();
        // The closed dialog may still be the active window as far as Qt
        // knows, until the window manager's answer to its hiding comes in.
        const QWidget* active = QApplication::activeWindow();
        const ClosedDialogWindows windows{
            opener->isVisible(), active == opener,
            active && active != &dialog && active != opener && active->isVisible()};
        if (openerAsksForTheKeyboard(windows))
            opener->activateWindow();
    });
}

}  // namespace quorvane
