#include "views/detail_form/scenes_section_view.hpp"

#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "presentation/detail_form/scenes_section.hpp"
#include "views/design/theme.hpp"
#include "views/design/toggle_button_accessible.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/collection_rows.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/form_rows.hpp"
#include "views/detail_form/new_name_row.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

// What the rows show; a change of any of it rebuilds them.
std::vector<std::string> shownKey(const ScenesSection& section) {
    std::vector<std::string> key;
    for (const auto& row : section.rows) {
        key.push_back(row.scene.id);
        key.push_back(row.scene.name);
        key.push_back(row.subtitle);
        key.push_back(row.help);
    }
    key.push_back("|groups");
    for (const auto& group : section.groups) {
        key.push_back(group.id);
        key.push_back(group.name);
    }
    return key;
}

}  // namespace

ScenesSectionView::ScenesSectionView(DetailFormContext& context, QWidget* parent)
    : DetailPage(parent), context_(context) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    column->addWidget(makeCaption(context.theme, ScenesSection::kIntro));
    rows_ = new QVBoxLayout;
    rows_->setSpacing(10);
    column->addLayout(rows_);
    nameRow_ = new NewNameRow(context.theme, context.state.newSceneName,
                              ScenesSection::kNamePlaceholder, ScenesSection::kSaveTitle, [this] {
                                  ScenesSection::save(context_.store, context_.state.newSceneName);
                              });
    column->addWidget(nameRow_);
    column->addWidget(makeCaption(context.theme, ScenesSection::kClosingNote));
}

void ScenesSectionView::refresh(const DisplaySnapshot& display) {
    displayID_ = display.id;
    nameRow_->refresh();
    const auto section = ScenesSection::make(context_.store, display.id);
    auto key = shownKey(section);
    if (key == shownKey_)
        return;
    shownKey_ = std::move(key);
    clearLayout(rows_);
    for (const auto& row : section.rows) {
        const DisplayScene scene = row.scene;
        auto* buttons = new QWidget;
        auto* buttonRow = new QHBoxLayout(buttons);
        buttonRow->setContentsMargins(0, 0, 0, 0);
        buttonRow->setSpacing(6);
        auto* here = new QPushButton(QStringLiteral("이 화면"));
        connect(here, &QPushButton::clicked, this,
                [this, scene] { ScenesSection::applyHere(context_.store, scene, displayID_); });
        auto* everywhere = new QPushButton(QStringLiteral("모든 화면"));
        connect(everywhere, &QPushButton::clicked, this,
                [this, scene] { ScenesSection::applyEverywhere(context_.store, scene); });
        auto* toGroup = new QPushButton(QStringLiteral("묶음에 적용"));
        auto* menu = new QMenu(toGroup);
        for (const auto& group : section.groups) {
            const std::string groupID = group.id;
            menu->addAction(toVerbatimButtonText(group.name), this, [this, scene, groupID] {
                ScenesSection::applyToGroup(context_.store, scene, groupID);
            });
        }
        toGroup->setMenu(menu);
        readAsToggleButton(toGroup);
        toGroup->setEnabled(!section.groups.empty());
        buttonRow->addWidget(here);
        buttonRow->addWidget(everywhere);
        buttonRow->addWidget(toGroup);

        auto* item = makeCollectionRow(context_.theme, qText(scene.name), qText(row.subtitle),
                                       buttons, RowButtons::several);
        item->setToolTip(qText(row.help));
        if (row.deletable)
            setDeleteMenu(item, [this, scene] {
                ScenesSection::requestDelete(context_.store, context_.confirmations, scene);
            });
        else
            setNoContextMenu(item);
        rows_->addWidget(item);
    }
}

}  // namespace quorvane
