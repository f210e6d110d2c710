#include "app/shell/panel_host.hpp"

#include <QKeyEvent>
#include <QVBoxLayout>

namespace quorvane {

namespace {

// A tray click that closed the popup reaches the tray icon right after the
// popup hid; within this window the click only closes.
constexpr qint64 kCloseClickWindowMs = 250;

}  // namespace

PanelHost::PanelHost(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Quorvane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    usePopupForm(true);
}

void PanelHost::usePopupForm(bool popup) {
    if (popup == popupForm_ && windowFlags() != Qt::Widget)
        return;
    popupForm_ = popup;
    setWindowFlags(popup ? Qt::Popup | Qt::FramelessWindowHint : Qt::Window);
}

bool PanelHost::closedMomentsAgo() const {
    return sinceHidden_.isValid() && sinceHidden_.elapsed() < kCloseClickWindowMs;
}

void PanelHost::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PanelHost::hideEvent(QHideEvent* event) {
    sinceHidden_.start();
    QWidget::hideEvent(event);
}

}  // namespace quorvane
