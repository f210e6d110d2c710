#include "views/settings/settings_disclosure_section.hpp"

#include <QToolButton>
#include <QVBoxLayout>

#include "views/design/theme.hpp"

namespace quorvane {

SettingsDisclosureSection::SettingsDisclosureSection(Theme& theme, const QString& label,
                                                     QWidget* parent)
    : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    header_ = new QToolButton(this);
    header_->setText(label);
    header_->setCheckable(true);
    header_->setAutoRaise(true);
    header_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header_->setArrowType(Qt::RightArrow);
    column->addWidget(header_, 0, Qt::AlignLeading);

    body_ = new QWidget(this);
    contentLayout_ = new QVBoxLayout(body_);
    contentLayout_->setContentsMargins(0, 6, 0, 0);
    body_->hide();
    column->addWidget(body_);

    const auto restyle = [this, &theme] {
        header_->setFont(theme.font(QuorvaneFontStyle::caption, QFont::DemiBold));
    };
    restyle();
    connect(&theme, &Theme::changed, this, restyle);
    connect(header_, &QToolButton::toggled, this, &SettingsDisclosureSection::setExpanded);
}

bool SettingsDisclosureSection::isExpanded() const {
    return header_->isChecked();
}

void SettingsDisclosureSection::setExpanded(bool expanded) {
    header_->setChecked(expanded);
    header_->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    body_->setVisible(expanded);
}

}  // namespace quorvane
