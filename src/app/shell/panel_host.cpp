#include "app/shell/panel_host.hpp"

#include <QKeyEvent>
#include <QVBoxLayout>

namespace quorvane {

PanelHost::PanelHost(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Quorvane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    usePopupForm(true);
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

}  // namespace quorvane
