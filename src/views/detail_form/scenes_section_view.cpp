#include "views/detail_form/scenes_section_view.hpp"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "presentation/detail_form/scenes_section.hpp"
#include "views/access/toggle_button_accessible.hpp"
#include "views/controls/spoken_result.hpp"
#include "views/design/keyed_rows.hpp"
#include "views/design/theme.hpp"
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
    auto* rows = new QVBoxLayout;
    rows->setSpacing(10);
    column->addLayout(rows);
    rows_ = std::make_unique<KeyedRows>(rows);
    nameRow_ = new NewNameRow(
        context.theme, context.state.newSceneName, ScenesSection::kNamePlaceholder,
        ScenesSection::kSaveTitle, *rows_,
        [this] { ScenesSection::save(context_.store, context_.state.newSceneName); });
    column->addWidget(nameRow_);
    column->addWidget(makeCaption(context.theme, ScenesSection::kClosingNote));
    rows_->setFocusWhenEmpty(nameRow_->field());
}

ScenesSectionView::~ScenesSectionView() = default;

void ScenesSectionView::refresh(const DisplaySnapshot& display) {
    displayID_ = display.id;
    nameRow_->refresh();
    auto section = ScenesSection::make(context_.store, display.id);
    auto key = shownKey(section);
    // The buttons act on the work modes and groups as they are now.
    shown_ = std::move(section);
    if (key == shownKey_)
        return;
    shownKey_ = std::move(key);
    const bool groupsChanged = shown_.groups != shownGroups_;
    shownGroups_ = shown_.groups;
    // Each work mode keeps its row while it is listed: a new subtitle or
    // group list changes it in place, under the button the user pressed.
    std::vector<std::string> ids;
    for (const auto& row : shown_.rows)
        ids.push_back(row.scene.id);
    rows_->show(
        ids, [this](std::size_t index) { return makeRow(shown_.rows[index]); },
        [this, groupsChanged](QWidget* item, std::size_t index) {
            showRow(item, shown_.rows[index], groupsChanged);
        });
}

const ScenesSection::Row* ScenesSectionView::shownRow(const QWidget* item) const {
    const auto index = rows_->indexOf(item);
    return index ? &shown_.rows[*index] : nullptr;
}

QWidget* ScenesSectionView::makeRow(const ScenesSection::Row& row) {
    auto* buttons = new QWidget;
    auto* buttonRow = new QHBoxLayout(buttons);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->setSpacing(6);
    auto* here = new QPushButton(QStringLiteral("이 화면"));
    auto* everywhere = new QPushButton(QStringLiteral("모든 화면"));
    auto* toGroup = new QPushButton(QStringLiteral("묶음에 적용"));
    toGroup->setObjectName(QStringLiteral("sceneToGroup"));
    toGroup->setMenu(new QMenu(toGroup));
    readAsToggleButton(toGroup);
    buttonRow->addWidget(here);
    buttonRow->addWidget(everywhere);
    buttonRow->addWidget(toGroup);

    auto* item = makeCollectionRow(context_.theme, qText(row.scene.name), qText(row.subtitle),
                                   buttons, RowButtons::several);
    // Each says its result ("씬 적용됨: Work (2개 디스플레이)"), as a
    // preset's 적용 does.
    connect(here, &QPushButton::clicked, this, [this, item, here] {
        if (const auto* shown = shownRow(item))
            speakResultOf(here, context_.store, [&] {
                ScenesSection::applyHere(context_.store, shown->scene, displayID_);
            });
    });
    connect(everywhere, &QPushButton::clicked, this, [this, item, everywhere] {
        if (const auto* shown = shownRow(item))
            speakResultOf(everywhere, context_.store,
                          [&] { ScenesSection::applyEverywhere(context_.store, shown->scene); });
    });
    setDeleteMenu(item, [this, item] {
        if (const auto* shown = shownRow(item); shown && shown->deletable)
            ScenesSection::requestDelete(context_.store, context_.confirmations, shown->scene);
    });
    showRow(item, row, true);
    return item;
}

void ScenesSectionView::showRow(QWidget* item, const ScenesSection::Row& row, bool groupsChanged) {
    setCollectionRowTexts(item, qText(row.scene.name), qText(row.subtitle));
    item->setToolTip(qText(row.help));
    setDeletable(item, row.deletable);
    auto* toGroup = item->findChild<QPushButton*>(QStringLiteral("sceneToGroup"));
    toGroup->setEnabled(!shown_.groups.empty());
    if (!groupsChanged)
        return;
    QMenu* menu = toGroup->menu();
    menu->clear();
    for (const auto& group : shown_.groups) {
        menu->addAction(
            toVerbatimButtonText(group.name), this, [this, item, toGroup, groupID = group.id] {
                if (const auto* shown = shownRow(item))
                    speakResultOf(toGroup, context_.store, [&] {
                        ScenesSection::applyToGroup(context_.store, shown->scene, groupID);
                    });
            });
    }
}

}  // namespace quorvane
