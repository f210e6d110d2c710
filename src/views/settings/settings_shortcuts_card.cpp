#include "views/settings/settings_shortcuts_card.hpp"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "services/display_store/display_store.hpp"
#include "views/design/glyph_icon.hpp"
#include "views/design/settings_card_frame.hpp"
#include "views/design/settings_tinted_tile.hpp"
#include "views/design/spoken_text.hpp"
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

// One scene binding: its work mode and key chord, and its switch.
class BindingRow : public SettingsTintedTile {
  public:
    BindingRow(Theme& theme, const ShortcutsCardModel::BindingRow& row, QWidget* parent)
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
        copy->addWidget(themedLabel(theme, toQString(row.sceneName), QuorvaneFontStyle::caption,
                                    QFont::DemiBold));
        // The key chord never breaks inside: the row is never narrower.
        auto* chord = themedLabel(theme, toQString(row.combinationLabel),
                                  QuorvaneFontStyle::caption2, QFont::Normal, true);
        chord->setKeepsWordsWhole(true);
        copy->addWidget(chord);
        layout->addLayout(copy, 1);
        toggle = new QCheckBox(this);
        setSpokenName(toggle, QStringLiteral("사용"));
        toggle->setChecked(row.enabled);
        layout->addWidget(toggle, 0, Qt::AlignVCenter);
    }

    QCheckBox* toggle = nullptr;
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

void SettingsShortcutsCard::refresh() {
    const auto model = ShortcutsCardModel::of(store_);
    emergency_->show(model.emergency);
    scenes_->show(model.scenes);
    icon_->setTint(theme_.color(model.cardTint));
    if (!bindingList_ || model.bindings != shown_.bindings)
        rebuildBindingList(model);
    shown_ = model;
}

void SettingsShortcutsCard::rebuildBindingList(const ShortcutsCardModel& model) {
    // The list opens folded each time scene hot keys are switched on; while
    // they stay on, a changed binding keeps the list as the user left it.
    const bool wasExpanded = bindingList_ && bindingList_->isExpanded();
    if (bindingList_) {
        // Later: the click that led here may still be running inside it.
        column_->removeWidget(bindingList_);
        bindingList_->hide();
        bindingList_->deleteLater();
        bindingList_ = nullptr;
    }
    if (!model.showsBindingList)
        return;
    bindingList_ = new SettingsDisclosureSection(theme_, QStringLiteral("작업 모드별 단축키 보기"));
    bindingList_->content()->setSpacing(8);
    for (const auto& binding : model.bindings) {
        auto* row = new BindingRow(theme_, binding, bindingList_);
        bindingList_->content()->addWidget(row);
        connect(row->toggle, &QCheckBox::clicked, this, [this, id = binding.bindingID](bool on) {
            store_.setSceneHotKeyBindingEnabled(id, on);
        });
    }
    bindingList_->setExpanded(wasExpanded && shown_.showsBindingList);
    column_->addWidget(bindingList_);
}

std::vector<QCheckBox*> SettingsShortcutsCard::bindingSwitches() const {
    std::vector<QCheckBox*> switches;
    if (!bindingList_)
        return switches;
    for (auto* toggle : bindingList_->findChildren<QCheckBox*>())
        switches.push_back(toggle);
    return switches;
}

}  // namespace quorvane
