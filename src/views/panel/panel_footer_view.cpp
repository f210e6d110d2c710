#include "views/panel/panel_footer_view.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane {

PanelFooterView::PanelFooterView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(10);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    status_->setContentsMargins(2, 0, 2, 0);
    layout->addWidget(status_);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    openMain_ = new QPushButton(QStringLiteral("창 열기"), this);
    settings_ = new QPushButton(QStringLiteral("설정"), this);
    buttons->addWidget(openMain_, 1);
    buttons->addWidget(settings_);
    layout->addLayout(buttons);
    connect(openMain_, &QPushButton::clicked, this, &PanelFooterView::openMainWindowRequested);
    connect(settings_, &QPushButton::clicked, this, &PanelFooterView::settingsRequested);
}

void PanelFooterView::setStatus(const QString& text) {
    status_->setText(text);
}

}  // namespace quorvane
