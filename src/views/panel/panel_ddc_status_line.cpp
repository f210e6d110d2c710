#include "views/panel/panel_ddc_status_line.hpp"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "views/design/fit_to_width.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

namespace {

ColorRole toneRole(DDCCapabilityBadgeTone tone) {
    switch (tone) {
        case DDCCapabilityBadgeTone::secondary:
            return ColorRole::secondary;
        case DDCCapabilityBadgeTone::green:
            return ColorRole::systemGreen;
        case DDCCapabilityBadgeTone::orange:
            return ColorRole::systemOrange;
        case DDCCapabilityBadgeTone::red:
            return ColorRole::systemRed;
    }
    return ColorRole::secondary;
}

}  // namespace

PanelDDCStatusLine::PanelDDCStatusLine(Theme& theme, QWidget* parent)
    : QWidget(parent), theme_(theme) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 1, 0, 0);
    auto* row = new FitToWidth(8, 6, this);
    layout->addWidget(row);
    icon_ = new SymbolImage({}, row);
    label_ = new WrappingLabel(QString(), row);
    probe_ = new QPushButton(row);
    probe_->setFlat(true);
    probe_->setCursor(Qt::PointingHandCursor);
    row->addWidget(icon_, 0);
    row->addWidget(label_, 0);
    row->addStretch(4);
    row->addWidget(probe_);
    connect(probe_, &QPushButton::clicked, this, &PanelDDCStatusLine::probeRequested);
    connect(&theme_, &Theme::changed, this, &PanelDDCStatusLine::restyle);
    restyle();
}

void PanelDDCStatusLine::setStatus(const PanelDDCStatus& status) {
    status_ = status;
    label_->setText(QString::fromStdString(status.labelText));
    icon_->setSystemName(status.systemImage);
    setToolTip(QString::fromStdString(status.helpText));
    probe_->setVisible(status.probeButton.has_value());
    if (status.probeButton) {
        probe_->setText(QString::fromStdString(status.probeButton->title));
        probe_->setToolTip(QString::fromStdString(status.probeButton->helpText));
        probe_->setEnabled(status.probeButton->enabled);
    }
    restyle();
}

void PanelDDCStatusLine::restyle() {
    const QFont font = theme_.font(QuorvaneFontStyle::caption);
    const QColor tone = theme_.color(toneRole(status_.tone));
    label_->setFont(font);
    label_->setTextColor(tone);
    icon_->setFont(font);
    icon_->setColor(tone);
    probe_->setFont(theme_.font(QuorvaneFontStyle::caption, QFont::DemiBold));
    QPalette palette = probe_->palette();
    palette.setColor(QPalette::ButtonText, theme_.color(ColorRole::accent));
    probe_->setPalette(palette);
}

}  // namespace quorvane
