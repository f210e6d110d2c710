#include "views/settings/settings_segmented_picker.hpp"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QToolButton>

#include "views/design/theme.hpp"

namespace quorvane {

SettingsSegmentedPicker::SettingsSegmentedPicker(Theme& theme, const std::vector<QString>& labels,
                                                 const QString& accessibleName, QWidget* parent)
    : QWidget(parent) {
    setAccessibleName(accessibleName);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    for (int index = 0; index < static_cast<int>(labels.size()); ++index) {
        auto* segment = new QToolButton(this);
        segment->setText(labels[static_cast<std::size_t>(index)]);
        segment->setCheckable(true);
        segment->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        group_->addButton(segment, index);
        row->addWidget(segment);
    }
    const auto restyle = [this, &theme] {
        // The chosen segment carries the accent, the others the card surface.
        setStyleSheet(
            QStringLiteral("QToolButton { border: 1px solid %1; background: %2; color: %3;"
                           " padding: 3px 10px; }"
                           "QToolButton:checked { background: %4; color: %5;"
                           " font-weight: 600; }")
                .arg(theme.color(ColorRole::surfaceBorder).name(),
                     theme.color(ColorRole::surface).name(), theme.color(ColorRole::primary).name(),
                     theme.color(ColorRole::accentFill).name(),
                     theme.color(ColorRole::accent).name()));
        for (auto* segment : group_->buttons()) {
            segment->setFont(theme.font(QuorvaneFontStyle::callout));
            segment->setMinimumHeight(theme.accessibleButtonMinHeight() - 6);
        }
    };
    restyle();
    connect(&theme, &Theme::changed, this, restyle);
    connect(group_, &QButtonGroup::idClicked, this, &SettingsSegmentedPicker::picked);
}

int SettingsSegmentedPicker::selected() const {
    return group_->checkedId();
}

void SettingsSegmentedPicker::setSelected(int index) {
    if (auto* segment = group_->button(index))
        segment->setChecked(true);
}

QAbstractButton* SettingsSegmentedPicker::segment(int index) const {
    return group_->button(index);
}

}  // namespace quorvane
