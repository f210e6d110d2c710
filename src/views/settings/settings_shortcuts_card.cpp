#include "views/settings/settings_shortcuts_card.hpp"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "services/display_store/display_store.hpp"
#include "views/access/accessible_role.hpp"
#include "views/access/spoken_text.hpp"
#include "views/access/toggle_button_accessible.hpp"
#include "views/design/glyph_icon.hpp"
#include "views/design/keyed_rows.hpp"
#include "views/design/settings_card_frame.hpp"
#include "views/design/settings_tinted_tile.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/theme.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/qt_text.hpp"
#include "views/settings/settings_disclosure_section.hpp"
#include "views/settings/settings_toggle_row_view.hpp"

namespace quorvane {

namespace {

constexpr double kLightRowOpacity = 0.58;
constexpr double kDarkRowOpacity = 0.44;

// One scene binding: its work mode and key chord, and its switch. Kept
// while its binding is in the list; show() follows the binding's changes.
class BindingRow : public SettingsTintedTile {
  public:
    BindingRow(Theme& theme, QWidget* parent)
        : SettingsTintedTile(theme, {ColorRole::surface, kLightRowOpacity, kDarkRowOpacity, 10, {}},
                             parent) {
        setToolTip(
            QStringLiteral("단축키를 누르면 현재 연결된 모든 디스플레이에 작업 모드의 화면 "
                           "색감 값만 적용합니다."));
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(10, 10, 10, 10);
        layout->setSpacing(10);
        auto* copy = new QVBoxLayout;
        copy->setSpacing(2);
        scene_ = themedLabel(theme, QString(), QuorvaneFontStyle::caption, QFont::DemiBold);
        copy->addWidget(scene_);
        // The key chord never breaks inside: the row is never narrower.
        chord_ = themedLabel(theme, QString(), QuorvaneFontStyle::caption2, QFont::Normal, true);
        chord_->setKeepsWordsWhole(true);
        copy->addWidget(chord_);
        layout->addLayout(copy, 1);
        toggle = new QCheckBox(this);
        // A screen reader's Toggle flips the binding, not only the box.
        readAsToggleButton(toggle);
        // Five switches all heard as "사용" would not say which mode each
        // binds: each is named by its mode and described by its keys.
        labelBy(toggle, scene_);
        layout->addWidget(toggle, 0, Qt::AlignVCenter);
    }

    void show(const ShortcutsCardModel::BindingRow& row) {
        bindingID = row.bindingID;
        if (const QString name = toQString(row.sceneName); scene_->text() != name)
            scene_->setText(name);
        if (const QString chord = toQString(row.combinationLabel); chord_->text() != chord)
            chord_->setText(chord);
        setSpokenDescription(toggle, chord_->text());
        if (toggle->isChecked() != row.enabled)
            toggle->setChecked(row.enabled);
    }

    QCheckBox* toggle = nullptr;
    std::string bindingID;

  private:
    WrappingLabel* scene_ = nullptr;
    WrappingLabel* chord_ = nullptr;
};

}  // namespace

SettingsShortcutsCard::SettingsShortcutsCard(Theme& theme, DisplayStore& store, QWidget* parent)
    : QWidget(parent), theme_(theme), store_(store) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto frame = makeSettingsCard(
        theme, QuorvaneGlyph::shortcuts, [this] { return shown_.cardTint; },
        QStringLiteral("단축키"), QStringLiteral("안전망과 작업 모드"));
    outer->addWidget(frame.panel);
    icon_ = frame.icon;
    column_ = frame.column;
    emergency_ = new SettingsToggleRowView(theme, frame.panel);
    scenes_ = new SettingsToggleRowView(theme, frame.panel);
    column_->addWidget(emergency_);
    column_->addWidget(scenes_);
    connect(emergency_, &SettingsToggleRowView::toggled, this,
            [this](bool on) { store_.setEmergencyRecoveryHotKeyEnabled(on); });
    connect(scenes_, &SettingsToggleRowView::toggled, this,
            [this](bool on) { store_.setSceneHotKeysEnabled(on); });
    refresh();
}

SettingsShortcutsCard::~SettingsShortcutsCard() = default;

void SettingsShortcutsCard::refresh() {
    const auto model = ShortcutsCardModel::of(store_);
    emergency_->show(model.emergency);
    scenes_->show(model.scenes);
    icon_->setTint(theme_.color(model.cardTint));
    showBindingList(model);
    shown_ = model;
}

void SettingsShortcutsCard::showBindingList(const ShortcutsCardModel& model) {
    if (!model.showsBindingList) {
        if (bindingList_) {
            // Later: the click that led here may still be running inside it.
            column_->removeWidget(bindingList_);
            bindingList_->hide();
            bindingList_->deleteLater();
            bindingList_ = nullptr;
            bindingRows_.reset();
        }
        return;
    }
    // The list opens folded each time scene hot keys are switched on; while
    // they stay on, it stays as the user left it.
    if (!bindingList_) {
        bindingList_ =
            new SettingsDisclosureSection(theme_, QStringLiteral("작업 모드별 단축키 보기"));
        bindingList_->content()->setSpacing(8);
        bindingRows_ = std::make_unique<KeyedRows>(bindingList_->content());
        bindingRows_->setFocusWhenEmpty(bindingList_->header());
        column_->addWidget(bindingList_);
    }
    // A row is its binding's for as long as the binding is listed: switching
    // it changes the row in place, under the user's focus.
    std::vector<std::string> keys;
    for (const auto& binding : model.bindings)
        keys.push_back(binding.bindingID);
    bindingRows_->show(
        keys,
        [this, &model](std::size_t index) {
            auto* row = new BindingRow(theme_, bindingList_);
            row->show(model.bindings[index]);
            connect(row->toggle, &QCheckBox::clicked, this, [this, row](bool on) {
                store_.setSceneHotKeyBindingEnabled(row->bindingID, on);
            });
            return row;
        },
        [&model](QWidget* row, std::size_t index) {
            static_cast<BindingRow*>(row)->show(model.bindings[index]);
        });
}

std::vector<QCheckBox*> SettingsShortcutsCard::bindingSwitches() const {
    std::vector<QCheckBox*> switches;
    if (!bindingRows_)
        return switches;
    for (QWidget* row : bindingRows_->rows())
        switches.push_back(static_cast<BindingRow*>(row)->toggle);
    return switches;
}

}  // namespace quorvane
