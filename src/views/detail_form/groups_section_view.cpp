#include "views/detail_form/groups_section_view.hpp"

#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "presentation/detail_form/groups_section.hpp"
#include "views/design/eliding_picker.hpp"
#include "views/design/spoken_text.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/collection_rows.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/form_rows.hpp"
#include "views/detail_form/new_name_row.hpp"

namespace quorvane {

namespace {

constexpr int kScopeMaximumWidth = 240;

std::vector<std::string> shownKey(const GroupsSection& section) {
    std::vector<std::string> key;
    for (const auto& option : section.scopeOptions) {
        key.push_back(option.tag);
        key.push_back(option.title);
    }
    key.push_back("|rows");
    for (const auto& row : section.rows)
        key.push_back(row.subtitle);
    return key;
}

}  // namespace

GroupsSectionView::GroupsSectionView(DetailFormContext& context, QWidget* parent)
    : DetailPage(parent), context_(context) {
    Theme& theme = context.theme;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    column->addWidget(makeCaption(theme, GroupsSection::kIntro));

    scope_ = new ElidingPicker;
    setSpokenName(scope_, GroupsSection::kScopeTitle);
    scope_->setMaximumWidth(kScopeMaximumWidth);
    scope_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    scope_->setMinimumContentsLength(10);
    connect(scope_, &QComboBox::activated, this, [this](int index) {
        GroupsSection::chooseScope(context_.store,
                                   scope_->itemData(index).toString().toStdString());
    });
    column->addWidget(makeLabeledRow(theme, GroupsSection::kScopeTitle, scope_));
    column->addWidget(makeCaption(theme, GroupsSection::kScopeNote));

    rows_ = new QVBoxLayout;
    rows_->setSpacing(10);
    column->addLayout(rows_);
    nameRow_ = new NewNameRow(context.theme, context.state.newGroupName,
                              GroupsSection::kNamePlaceholder, GroupsSection::kSaveTitle, [this] {
                                  GroupsSection::save(context_.store, context_.state.newGroupName);
                              });
    column->addWidget(nameRow_);
}

void GroupsSectionView::refresh(const DisplaySnapshot&) {
    const auto section = GroupsSection::make(context_.store);
    nameRow_->refresh(section.saveNeedsDisplays);
    auto key = shownKey(section);
    if (shownKey_ != key) {
        shownKey_ = std::move(key);
        const QSignalBlocker block(scope_);
        scope_->clear();
        for (const auto& option : section.scopeOptions)
            scope_->addItem(qText(option.title), qText(option.tag));
        clearLayout(rows_);
        if (section.rows.empty())
            rows_->addWidget(makeUnavailableContent(context_.theme, "rectangle.3.group.bubble",
                                                    GroupsSection::kEmptyTitle,
                                                    GroupsSection::kEmptyText));
        for (const auto& row : section.rows) {
            const DisplayGroup group = row.group;
            auto* remove = new QPushButton(QStringLiteral("삭제…"));
            connect(remove, &QPushButton::clicked, this, [this, group] {
                GroupsSection::requestDelete(context_.store, context_.confirmations, group);
            });
            rows_->addWidget(makeCollectionRow(context_.theme, qText(group.name),
                                               qText(row.subtitle), remove, RowButtons::single));
        }
    }
    const QSignalBlocker block(scope_);
    scope_->setCurrentIndex(std::max(0, scope_->findData(qText(section.selectedScope))));
}

}  // namespace quorvane
