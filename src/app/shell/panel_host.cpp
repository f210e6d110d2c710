#include "app/shell/panel_host.hpp"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QVBoxLayout>
#include <QWindow>

#include "presentation/panel/panel_header.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

PanelHost::PanelHost(QWidget* parent) : QWidget(parent) {
    // Named as what it is: a screen reader says the window's name as the
    // focus comes into it from another window (or with a window activated),
    // and the application's name alone tells nothing there.
    setWindowTitle(toQString(kPanelName));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    usePopupForm(true);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focused) {
        if (focused != nullptr && focused == windowHandle())
            focusedInThisOpening_ = true;
    });
}

void PanelHost::usePopupForm(bool popup) {
    if (popup == isPopupForm())
        return;
    setWindowFlags(popup ? Qt::Popup | Qt::FramelessWindowHint : Qt::Window);
}

void PanelHost::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PanelHost::showEvent(QShowEvent* event) {
    focusedInThisOpening_ = false;
    QWidget::showEvent(event);
}

// Qt closes every popup when the application loses the focus. Before this
// opening has had the focus, that loss can only be an earlier opening's: the
// panel stays. A click outside still closes it, whatever the focus.
void PanelHost::closeEvent(QCloseEvent* event) {
    if (isPopupForm() && !focusedInThisOpening_ && !handlingPress_) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void PanelHost::mousePressEvent(QMouseEvent* event) {
    const QScopedValueRollback pressing(handlingPress_, true);
    QWidget::mousePressEvent(event);
}

}  // namespace quorvane
