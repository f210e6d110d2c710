#include "views/detail_form/monitor_settings_section_view.hpp"

#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "presentation/controls/adjustment_nudge.hpp"
#include "views/access/disabled_focus_hand_over.hpp"
#include "views/access/spoken_notice.hpp"
#include "views/access/spoken_text.hpp"
#include "views/access/toggle_button_accessible.hpp"
#include "views/controls/ddc_badge_view.hpp"
#include "views/controls/hardware_write_tag.hpp"
#include "views/controls/slider_row_group.hpp"
#include "views/design/baseline_row_layout.hpp"
#include "views/design/disclosure_button.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/form_rows.hpp"
#include "views/detail_form/slider_row_views.hpp"

namespace quorvane {

namespace {

using Section = MonitorSettingsSection;

QVBoxLayout* makeSlot(QVBoxLayout* column) {
    auto* slot = new QVBoxLayout;
    slot->setContentsMargins(0, 0, 0, 0);
    slot->setSpacing(10);
    column->addLayout(slot);
    return slot;
}

}  // namespace

MonitorSettingsSectionView::MonitorSettingsSectionView(DetailFormContext& context, QWidget* parent)
    : DetailPage(parent), context_(context) {
    Theme& theme = context.theme;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    auto* intro = makeCaption(theme, Section::kIntro);
    intro->setToolTip(Section::kIntroHelp);
    column->addWidget(intro);

    auto* explanation = makeCaption(theme, Section::kDisclosureText);
    auto* disclosure = makeDisclosure(theme, Section::kDisclosureTitle, QuorvaneFontStyle::body,
                                      QFont::Normal, explanation);
    column->addWidget(disclosure, 0, Qt::AlignLeft);
    column->addWidget(explanation);

    syncNote_ = new QWidget;
    auto* syncRow =
        makeSymbolRow(makeSymbol(theme, "arrow.left.arrow.right", QuorvaneFontStyle::caption,
                                 QFont::Normal, ColorRole::secondary),
                      makeCaption(theme, Section::kSyncNote));
    syncRow->setContentsMargins(0, 0, 0, 0);
    syncNote_->setLayout(syncRow);
    column->addWidget(syncNote_);

    column->addWidget(makeStatusRow());
    statusNote_ = makeCaption(theme, QString());
    column->addWidget(statusNote_);

    // The legend's tag stands on the first line of its text.
    auto* legend = new BaselineRowLayout;
    legend->setSpacing(7);
    legend->addWidget(new HardwareWriteTag(theme, true), 0, Qt::AlignTop);
    legend->addWidget(makeCaption(theme, Section::kLegend), 1, Qt::AlignTop);
    column->addLayout(legend);

    brightnessSlot_ = makeSlot(column);
    monitorSlot_ = makeSlot(column);
    inputRow_ = makeInputRow();
    column->addWidget(inputRow_);
    inputWarning_ = makeCaption(theme, Section::kInputWarning);
    column->addWidget(inputWarning_);
}

QWidget* MonitorSettingsSectionView::makeStatusRow() {
    auto* content = new QWidget;
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    badge_ = new DDCBadgeView(context_.theme, false);
    followTheme(context_.theme, badge_,
                [this] { badge_->setFont(context_.theme.font(QuorvaneFontStyle::body)); });
    row->addWidget(badge_);
    probeButton_ = new QPushButton;
    probeButton_->setToolTip(Section::kProbeHelp);
    // Greyed while the check runs, it hands the focus on and takes it back
    // once the check ends, so the outcome is heard where it was asked for.
    returnsFocusWhenDone(probeButton_);
    connect(probeButton_, &QPushButton::clicked, this, [this] {
        probeAwaited_ = true;
        Section::probe(context_.store, displayID_);
    });
    row->addWidget(probeButton_);
    return makeLabeledRow(context_.theme, QString::fromUtf8(Section::kStatusLabel), content);
}

QWidget* MonitorSettingsSectionView::makeInputRow() {
    Theme& theme = context_.theme;
    auto* label = new QWidget;
    auto* labelColumn = new QVBoxLayout(label);
    labelColumn->setContentsMargins(0, 0, 0, 0);
    labelColumn->setSpacing(2);
    labelColumn->addWidget(makeText(theme, Section::kInputTitle, QuorvaneFontStyle::body));
    labelColumn->addWidget(makeCaption(theme, Section::kInputSubtitle));

    auto* content = new QWidget;
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(new HardwareWriteTag(theme, true));
    inputMenu_ = new QPushButton;
    setSpokenDescription(inputMenu_, QString::fromUtf8(Section::kInputTitle));
    auto* menu = new QMenu(inputMenu_);
    for (const auto& option : Section::inputOptions()) {
        const std::uint16_t value = option.value;
        menu->addAction(qText(option.label), this,
                        [this, value] { Section::chooseInput(context_.store, displayID_, value); });
    }
    inputMenu_->setMenu(menu);
    readAsToggleButton(inputMenu_);
    row->addWidget(inputMenu_);
    return makeLabeledRow(theme, label, content);
}

void MonitorSettingsSectionView::refresh(const DisplaySnapshot& display) {
    displayID_ = display.id;
    const auto model = Section::make(context_.store, display);
    syncNote_->setVisible(model.showsSyncNote);

    badge_->setBadge(model.badge);
    probeButton_->setText(qText(model.probeTitle));
    probeButton_->setEnabled(!model.probeDisabled);
    statusNote_->setVisible(model.statusNote.has_value());
    statusNote_->setText(qText(model.statusNote.value_or("")));
    if (probeAwaited_ && !model.probeDisabled) {
        probeAwaited_ = false;
        speakNotice(probeButton_, qText(model.probeOutcome()));
    }

    updateSystemBrightness(model);
    updateMonitorRows(model);
    updateInput(model);
}

void MonitorSettingsSectionView::updateSystemBrightness(const MonitorSettingsSection& model) {
    if (!model.systemBrightness) {
        if (brightnessRow_) {
            brightnessRow_->hide();
            brightnessRow_->deleteLater();
        }
        return;
    }
    if (!brightnessRow_) {
        SliderRowSpec spec;
        spec.row = {Section::kSystemBrightnessTitle,   Section::kSystemBrightnessSubtitle,
                    Section::kSystemBrightnessMinimum, 1.0,
                    Section::kSystemBrightnessNudge,   &QuorvaneAdjustmentNudge::percentText,
                    PanelValueFormat::percent};
        spec.commit = [this](double value) {
            Section::commitSystemBrightness(context_.store, displayID_, value);
        };
        spec.help = Section::kSystemBrightnessHelp;
        brightnessRow_ = new SoftwareSliderRowView(context_, std::move(spec));
        brightnessSlot_->addWidget(brightnessRow_);
    }
    brightnessRow_->refresh(model.systemBrightness->value, model.systemBrightness->valueText);
}

void MonitorSettingsSectionView::updateMonitorRows(const MonitorSettingsSection& model) {
    bool sameCodes = model.monitorRows.size() == monitorRows_.size();
    for (const auto& row : model.monitorRows)
        sameCodes = sameCodes && monitorRows_.contains(row.code) && monitorRows_[row.code];
    if (!sameCodes) {
        // A new probe result: the rows are laid out again in page order.
        clearLayout(monitorSlot_);
        monitorRows_.clear();
        // The monitor's rows share their label column.
        delete monitorColumn_;
        monitorColumn_ = new SliderRowGroup(this);
        auto* group = monitorColumn_.data();
        for (const auto& row : model.monitorRows) {
            SliderRowSpec spec;
            spec.row = {row.title, row.subtitle, row.minimum, 1.0};
            const DDCVCPCode code = row.code;
            spec.commit = [this, code](double value) {
                Section::commitMonitorValue(context_.store, displayID_, code, value);
            };
            spec.help = Section::kMonitorRowHelp;
            auto* view = new MonitorSliderRowView(context_, std::move(spec));
            view->row()->joinColumn(group);
            monitorSlot_->addWidget(view);
            monitorRows_[code] = view;
        }
    }
    for (const auto& row : model.monitorRows)
        monitorRows_[row.code]->refresh(row.value, row.valueText, !model.monitorControlsDisabled);
}

void MonitorSettingsSectionView::updateInput(const MonitorSettingsSection& model) {
    inputRow_->setVisible(model.input.has_value());
    inputWarning_->setVisible(model.input.has_value());
    if (!model.input)
        return;
    inputMenu_->setText(qText(model.input->menuTitle));
    inputMenu_->setEnabled(!model.monitorControlsDisabled);
}

}  // namespace quorvane
