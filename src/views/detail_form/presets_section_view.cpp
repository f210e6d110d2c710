#include "views/detail_form/presets_section_view.hpp"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "presentation/detail_form/presets_section.hpp"
#include "views/access/spoken_text.hpp"
#include "views/controls/spoken_result.hpp"
#include "views/design/keyed_rows.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/collection_rows.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/form_rows.hpp"
#include "views/detail_form/new_name_row.hpp"

namespace quorvane {

PresetsSectionView::PresetsSectionView(DetailFormContext& context, QWidget* parent)
    : DetailPage(parent), context_(context) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    column->addWidget(makeCaption(context.theme, PresetsSection::kIntro));
    auto* rows = new QVBoxLayout;
    rows->setSpacing(10);
    column->addLayout(rows);
    rows_ = std::make_unique<KeyedRows>(rows);
    nameRow_ = new NewNameRow(
        context.theme, context.state.newPresetName, PresetsSection::kNamePlaceholder,
        PresetsSection::kSaveTitle, *rows_,
        [this] { PresetsSection::save(context_.store, context_.state.newPresetName, displayID_); });
    column->addWidget(nameRow_);
    rows_->setFocusWhenEmpty(nameRow_->field());
}

PresetsSectionView::~PresetsSectionView() = default;

void PresetsSectionView::refresh(const DisplaySnapshot& display) {
    displayID_ = display.id;
    nameRow_->refresh();
    auto section = PresetsSection::make(context_.store);
    std::vector<std::string> key;
    for (const auto& row : section.rows) {
        key.push_back(row.preset.id);
        key.push_back(row.preset.name);
    }
    // The buttons act on the presets as they are now.
    shown_ = std::move(section.rows);
    if (shownKey_ == key)
        return;
    shownKey_ = std::move(key);
    // Each preset keeps its row while it is listed: a renamed one changes in
    // place; a deleted one's row goes, the focus to its neighbour.
    std::vector<std::string> ids;
    for (const auto& row : shown_)
        ids.push_back(row.preset.id);
    rows_->show(
        ids, [this](std::size_t index) { return makeRow(shown_[index]); },
        [this](QWidget* item, std::size_t index) { showRow(item, shown_[index]); });
}

QWidget* PresetsSectionView::makeRow(const PresetsSection::Row& row) {
    auto* apply = new QPushButton(QStringLiteral("적용"));
    apply->setObjectName(QStringLiteral("presetApply"));
    auto* item = makeCollectionRow(context_.theme, qText(row.preset.name), qText(row.kindLabel),
                                   apply, RowButtons::single);
    // The row acts on its preset as shown now.
    const auto shownRow = [this, item]() -> const PresetsSection::Row* {
        const auto index = rows_->indexOf(item);
        return index ? &shown_[*index] : nullptr;
    };
    connect(apply, &QPushButton::clicked, this, [this, apply, shownRow] {
        if (const auto* row = shownRow())
            speakResultOf(apply, context_.store,
                          [&] { PresetsSection::apply(context_.store, row->preset, displayID_); });
    });
    setDeleteMenu(item, [this, shownRow] {
        if (const auto* row = shownRow(); row && row->deletable)
            PresetsSection::requestDelete(context_.store, context_.confirmations, row->preset);
    });
    showRow(item, row);
    return item;
}

void PresetsSectionView::showRow(QWidget* item, const PresetsSection::Row& row) {
    setCollectionRowTexts(item, qText(row.preset.name), qText(row.kindLabel));
    // Every row's button says "적용"; heard, each names its preset.
    setSpokenDescription(item->findChild<QPushButton*>(QStringLiteral("presetApply")),
                         qText(row.preset.name));
    setDeletable(item, row.deletable);
}

}  // namespace quorvane
