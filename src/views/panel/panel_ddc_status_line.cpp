#include "views/panel/panel_ddc_status_line.hpp"

#include <QPushButton>
#include <QVBoxLayout>

#include "presentation/design/button_look.hpp"
#include "views/access/disabled_focus_hand_over.hpp"
#include "views/access/spoken_notice.hpp"
#include "views/controls/ddc_badge_view.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/theme.hpp"

namespace quorvane {

PanelDDCStatusLine::PanelDDCStatusLine(Theme& theme, QWidget* parent)
    : QWidget(parent), theme_(theme) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 1, 0, 0);
    auto* row = new FitToWidth(8, 6, this);
    layout->addWidget(row);
    badge_ = new DDCBadgeView(theme, false, row);
    badge_->setSpinsWhileChecking(false);
    probe_ = new QPushButton(row);
    probe_->setFlat(true);
    probe_->setCursor(Qt::PointingHandCursor);
    row->addWidget(badge_);
    row->addStretch(4);
    row->addWidget(probe_);
    returnsFocusWhenDone(probe_);
    connect(probe_, &QPushButton::clicked, this, [this] {
        probeAwaited_ = true;
        emit probeRequested();
    });
    connect(&theme_, &Theme::changed, this, &PanelDDCStatusLine::restyle);
    restyle();
}

void PanelDDCStatusLine::setStatus(const DDCCapabilityBadge& badge, const PanelDDCStatus& status) {
    DDCCapabilityBadge shown = badge;
    shown.title = status.labelText;
    badge_->setBadge(shown);
    setToolTip(QString::fromStdString(status.helpText));
    if (probeAwaited_ && badge.kind != DDCCapabilityBadgeKind::checking) {
        probeAwaited_ = false;
        speakNotice(this, QString::fromStdString(status.labelText));
    }
    probe_->setVisible(status.probeButton.has_value());
    if (!status.probeButton)
        return;
    probe_->setText(QString::fromStdString(status.probeButton->title));
    probe_->setToolTip(QString::fromStdString(status.probeButton->helpText));
    probe_->setEnabled(status.probeButton->enabled);
    // A link that does nothing shows no hand either.
    probe_->setCursor(status.probeButton->enabled ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void PanelDDCStatusLine::restyle() {
    badge_->setFont(theme_.font(QuorvaneFontStyle::caption));
    probe_->setFont(theme_.font(QuorvaneFontStyle::caption));
    QPalette palette = probe_->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::ButtonText, theme_.color(linkTextColor(true)));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, theme_.color(linkTextColor(false)));
    probe_->setPalette(palette);
}

}  // namespace quorvane
