#include "views/detail_form/groups_section_view.hpp"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "presentation/detail_form/groups_section.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/eliding_picker.hpp"
#include "views/design/keyed_rows.hpp"
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
    for (const auto& row : section.rows) {
        key.push_back(row.group.id);
        key.push_back(row.group.name);
        key.push_back(row.subtitle);
    }
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

    auto* rows = new QVBoxLayout;
    rows->setSpacing(10);
    column->addLayout(rows);
    rows_ = std::make_unique<KeyedRows>(rows);
    // After the rows, shown while there are none.
    empty_ = makeUnavailableContent(theme, "rectangle.3.group.bubble", GroupsSection::kEmptyTitle,
                                    GroupsSection::kEmptyText);
    empty_->hide();
    rows->addWidget(empty_);
    nameRow_ = new NewNameRow(
        context.theme, context.state.newGroupName, GroupsSection::kNamePlaceholder,
        GroupsSection::kSaveTitle, *rows_,
        [this] { GroupsSection::save(context_.store, context_.state.newGroupName); });
    column->addWidget(nameRow_);
    rows_->setFocusWhenEmpty(nameRow_->field());
}

GroupsSectionView::~GroupsSectionView() = default;

void GroupsSectionView::refresh(const DisplaySnapshot&) {
    auto section = GroupsSection::make(context_.store);
    nameRow_->refresh(section.saveNeedsDisplays);
    auto key = shownKey(section);
    // The buttons act on the groups as they are now.
    shown_ = std::move(section.rows);
    if (shownKey_ != key) {
        shownKey_ = std::move(key);
        const QSignalBlocker block(scope_);
        scope_->clear();
        for (const auto& option : section.scopeOptions)
            scope_->addItem(qText(option.title), qText(option.tag));
        // Each group keeps its row while it is listed; a deleted one's row
        // goes, the focus to its neighbour.
        std::vector<std::string> ids;
        for (const auto& row : shown_)
            ids.push_back(row.group.id);
        rows_->show(
            ids, [this](std::size_t index) { return makeRow(shown_[index]); },
            [this](QWidget* item, std::size_t index) {
                setCollectionRowTexts(item, qText(shown_[index].group.name),
                                      qText(shown_[index].subtitle));
            });
        empty_->setVisible(shown_.empty());
    }
    const QSignalBlocker block(scope_);
    scope_->setCurrentIndex(std::max(0, scope_->findData(qText(section.selectedScope))));
}

QWidget* GroupsSectionView::makeRow(const GroupsSection::Row& row) {
    auto* remove = new QPushButton(QStringLiteral("삭제…"));
    auto* item = makeCollectionRow(context_.theme, qText(row.group.name), qText(row.subtitle),
                                   remove, RowButtons::single);
    connect(remove, &QPushButton::clicked, this, [this, item] {
        if (const auto index = rows_->indexOf(item))
            GroupsSection::requestDelete(context_.store, context_.confirmations,
                                         shown_[*index].group);
    });
    return item;
}

}  // namespace quorvane
