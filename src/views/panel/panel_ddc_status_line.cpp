#include "views/panel/panel_ddc_status_line.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace quorvane {

PanelDDCStatusLine::PanelDDCStatusLine(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 1, 0, 0);
    layout->setSpacing(8);
    label_ = new QLabel(this);
    label_->setWordWrap(true);
    probe_ = new QPushButton(this);
    probe_->setFlat(true);
    probe_->setCursor(Qt::PointingHandCursor);
    layout->addWidget(label_, 1);
    layout->addWidget(probe_);
    connect(probe_, &QPushButton::clicked, this, &PanelDDCStatusLine::probeRequested);
}

void PanelDDCStatusLine::setStatus(const PanelDDCStatus& status) {
    label_->setText(QString::fromStdString(status.labelText));
    setToolTip(QString::fromStdString(status.helpText));
    probe_->setVisible(status.probeButton.has_value());
    if (!status.probeButton)
        return;
    probe_->setText(QString::fromStdString(status.probeButton->title));
    probe_->setToolTip(QString::fromStdString(status.probeButton->helpText));
    probe_->setEnabled(status.probeButton->enabled);
}

}  // namespace quorvane
