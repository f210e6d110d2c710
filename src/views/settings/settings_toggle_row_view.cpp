#include "views/settings/settings_toggle_row_view.hpp"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "views/access/spoken_text.hpp"
#include "views/access/toggle_button_accessible.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/theme.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

SettingsToggleRowView::SettingsToggleRowView(Theme& theme, QWidget* parent)
    : QWidget(parent), theme_(theme) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    auto* copy = new QVBoxLayout;
    copy->setSpacing(4);
    title_ = themedLabel(theme, {}, QuorvaneFontStyle::caption, QFont::DemiBold);
    detail_ = themedLabel(theme, {}, QuorvaneFontStyle::caption, QFont::Normal, true);
    copy->addWidget(title_);
    copy->addWidget(detail_);
    row->addLayout(copy, 1);
    toggle_ = new QCheckBox(this);
    // A screen reader's Toggle flips the setting, not only the box.
    readAsToggleButton(toggle_);
    row->addWidget(toggle_, 0, Qt::AlignVCenter);
    column->addLayout(row);

    pill_ = new StatusPill(theme, {}, this);
    pill_->hide();
    column->addWidget(pill_, 0, Qt::AlignLeading);

    connect(toggle_, &QCheckBox::clicked, this, &SettingsToggleRowView::toggled);
    connect(&theme_, &Theme::changed, this, &SettingsToggleRowView::restyle);
    restyle();
}

void SettingsToggleRowView::show(const SettingsToggleRow& row) {
    row_ = row;
    const QString title = QString::fromStdString(row.title);
    title_->setText(title);
    detail_->setText(QString::fromStdString(row.detail));
    setSpokenName(toggle_, title);
    toggle_->setChecked(row.isOn);
    pill_->setVisible(row.status.has_value());
    pill_->setText(QString::fromStdString(row.status.value_or(std::string())));
    tintPill();
}

StatusPill* SettingsToggleRowView::statusPill() const {
    return row_.status ? pill_ : nullptr;
}

void SettingsToggleRowView::restyle() {
    pill_->setFont(theme_.font(QuorvaneFontStyle::caption, QFont::Medium));
    tintPill();
}

void SettingsToggleRowView::tintPill() {
    // A pill without a tint of its own reads in the secondary colour.
    // On the settings cards.
    pill_->setTone(row_.statusTint.value_or(ColorRole::secondary), PageGround::card);
}

}  // namespace quorvane
