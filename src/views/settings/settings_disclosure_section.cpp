#include "views/settings/settings_disclosure_section.hpp"

#include <QVBoxLayout>

#include "views/design/disclosure_button.hpp"
#include "views/design/theme.hpp"

namespace quorvane {

SettingsDisclosureSection::SettingsDisclosureSection(Theme& theme, const QString& label,
                                                     QWidget* parent)
    : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    header_ = new DisclosureButton(theme, label, QuorvaneFontStyle::caption, QFont::DemiBold, this);
    column->addWidget(header_, 0, Qt::AlignLeading);

    body_ = new QWidget(this);
    contentLayout_ = new QVBoxLayout(body_);
    contentLayout_->setContentsMargins(0, 6, 0, 0);
    body_->hide();
    column->addWidget(body_);

    connect(header_, &QAbstractButton::toggled, this, &SettingsDisclosureSection::setExpanded);
}

bool SettingsDisclosureSection::isExpanded() const {
    return header_->isChecked();
}

void SettingsDisclosureSection::setExpanded(bool expanded) {
    header_->setChecked(expanded);
    body_->setVisible(expanded);
}

}  // namespace quorvane
