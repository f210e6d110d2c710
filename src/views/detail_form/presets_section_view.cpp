#include "views/detail_form/presets_section_view.hpp"

#include <QPushButton>
#include <QVBoxLayout>

#include "presentation/detail_form/presets_section.hpp"
#include "views/design/spoken_text.hpp"
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
    rows_ = new QVBoxLayout;
    rows_->setSpacing(10);
    column->addLayout(rows_);
    nameRow_ = new NewNameRow(
        context.theme, context.state.newPresetName, PresetsSection::kNamePlaceholder,
        PresetsSection::kSaveTitle,
        [this] { PresetsSection::save(context_.store, context_.state.newPresetName, displayID_); });
    column->addWidget(nameRow_);
}

void PresetsSectionView::refresh(const DisplaySnapshot& display) {
    displayID_ = display.id;
    nameRow_->refresh();
    const auto section = PresetsSection::make(context_.store);
    std::vector<std::string> key;
    for (const auto& row : section.rows) {
        key.push_back(row.preset.id);
        key.push_back(row.preset.name);
    }
    if (shownKey_ == key)
        return;
    shownKey_ = std::move(key);
    clearLayout(rows_);
    for (const auto& row : section.rows) {
        const DisplayPreset preset = row.preset;
        auto* apply = new QPushButton(QStringLiteral("적용"));
        // Every row's button says "적용"; heard, each names its preset.
        setSpokenDescription(apply, qText(preset.name));
        connect(apply, &QPushButton::clicked, this,
                [this, preset] { PresetsSection::apply(context_.store, preset, displayID_); });
        auto* item = makeCollectionRow(context_.theme, qText(preset.name), qText(row.kindLabel),
                                       apply, RowButtons::single);
        if (row.deletable)
            setDeleteMenu(item, [this, preset] {
                PresetsSection::requestDelete(context_.store, context_.confirmations, preset);
            });
        else
            setNoContextMenu(item);
        rows_->addWidget(item);
    }
}

}  // namespace quorvane
