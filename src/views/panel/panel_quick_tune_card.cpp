#include "views/panel/panel_quick_tune_card.hpp"

#include <QVBoxLayout>

#include "services/display_store/display_store.hpp"
#include "views/controls/correction_toggle.hpp"
#include "views/controls/hold_to_compare_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/panel/panel_ddc_status_line.hpp"
#include "views/panel/panel_slider_row.hpp"

namespace quorvane {

PanelQuickTuneCard::PanelQuickTuneCard(ViewContext& context, QWidget* parent)
    : QWidget(parent), context_(context), store_(context.store), theme_(context.theme) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 12, 0, 12);
    layout->setSpacing(10);
    rows_ = new QWidget(this);
    auto* rowsLayout = new QVBoxLayout(rows_);
    rowsLayout->setContentsMargins(0, 0, 0, 0);
    rowsLayout->setSpacing(10);
    layout->addWidget(rows_);

    directNote_ = new WrappingLabel(
        QStringLiteral("‘직접 적용’ 표시는 모니터에 바로 보내는 항목입니다. 이상하면 아래에서 "
                       "바로 되돌릴 수 있어요."),
        this);
    directNote_->setSecondary(true);
    layout->addWidget(directNote_);

    correctionLine_ = new FitToWidth(8, 8, this);
    correctionToggle_ = new CorrectionToggle(context, true, correctionLine_);
    correctionLine_->addWidget(correctionToggle_);
    layout->addWidget(correctionLine_);

    status_ = new PanelDDCStatusLine(theme_, this);
    layout->addWidget(status_);
    connect(status_, &PanelDDCStatusLine::probeRequested, this, [this] {
        if (displayID_)
            store_.probeDDC(*displayID_);
    });
    connect(&theme_, &Theme::changed, this, &PanelQuickTuneCard::restyle);
    restyle();
}

void PanelQuickTuneCard::restyle() {
    directNote_->setFont(theme_.font(QuorvaneFontStyle::caption2));
}

void PanelQuickTuneCard::refresh(const DisplaySnapshot& display) {
    const ColorAdjustment adjustment = store_.colorAdjustment(display.id);
    const PanelBrightnessRow brightness =
        panelBrightnessRow(display, store_.ddcSnapshots(), adjustment);
    if (displayID_ != display.id || brightnessKind_ != brightness.kind || !brightness_) {
        rebuildRows(display, brightness, adjustment);
    } else {
        brightness_->setContent(brightness.row);
        temperature_->setContent(panelColorTemperatureRow(adjustment));
        contrast_->setContent(panelContrastRow(adjustment));
    }
    // Monitor writes queue one at a time: the row waits while the display
    // is busy with a probe or a write.
    brightness_->setEnabled(brightness.kind != PanelBrightnessRowKind::monitorBrightness ||
                            !store_.isDDCBusy(display.id));
    directNote_->setVisible(panelHasDirectBrightness(display, store_.ddcSnapshots()));
    correctionToggle_->refresh();
    refreshCompareButton(display.id);
    const DDCCapabilityBadge badge = store_.ddcCapabilityBadge(display.id);
    status_->setStatus(badge,
                       panelDDCStatus(badge, display.isBuiltin, store_.isDDCBusy(display.id)));
}

void PanelQuickTuneCard::refreshCompareButton(DisplayID displayID) {
    const PanelCompareButton shown = panelCompareButton(store_.recoverySnapshot(displayID),
                                                        store_.softwareColorCorrectionEnabled());
    // One button per display: a comparison held on one display never
    // carries over to another.
    if (compare_ && (!shown.present || compareDisplayID_ != displayID)) {
        compare_->hide();
        compare_->deleteLater();
        compare_ = nullptr;
        compareDisplayID_.reset();
    }
    if (!shown.present)
        return;
    if (!compare_) {
        compare_ = new HoldToCompareButton(context_, displayID, true, correctionLine_);
        correctionLine_->addWidget(compare_);
        compareDisplayID_ = displayID;
    }
    compare_->setComparisonEnabled(shown.enabled);
}

void PanelQuickTuneCard::rebuildRows(const DisplaySnapshot& display,
                                     const PanelBrightnessRow& brightness,
                                     const ColorAdjustment& adjustment) {
    displayID_ = display.id;
    brightnessKind_ = brightness.kind;
    auto* layout = static_cast<QVBoxLayout*>(rows_->layout());
    for (QWidget* old : {static_cast<QWidget*>(brightness_), static_cast<QWidget*>(temperature_),
                         static_cast<QWidget*>(contrast_)}) {
        if (!old)
            continue;
        layout->removeWidget(old);
        old->hide();
        old->deleteLater();
    }
    const DisplayID id = display.id;
    brightness_ = new PanelSliderRow(
        theme_, brightness.row, [this](double value) { writeBrightness(value); }, rows_);
    temperature_ = new PanelSliderRow(
        theme_, panelColorTemperatureRow(adjustment),
        [this, id](double kelvin) {
            store_.updateColorAdjustment(id, &ColorAdjustment::warmth,
                                         panelWarmthForKelvin(kelvin));
        },
        rows_);
    contrast_ = new PanelSliderRow(
        theme_, panelContrastRow(adjustment),
        [this, id](double value) {
            store_.updateColorAdjustment(id, &ColorAdjustment::contrast, value);
        },
        rows_);
    layout->addWidget(brightness_);
    layout->addWidget(temperature_);
    layout->addWidget(contrast_);
}

void PanelQuickTuneCard::writeBrightness(double value) {
    if (!displayID_)
        return;
    switch (brightnessKind_) {
        case PanelBrightnessRowKind::systemBrightness:
            store_.setHardwareBrightness(value, *displayID_);
            return;
        case PanelBrightnessRowKind::monitorBrightness:
            store_.setDDCControl(DDCVCPCode::brightness, value, *displayID_);
            return;
        case PanelBrightnessRowKind::appColor:
            store_.updateColorAdjustment(*displayID_, &ColorAdjustment::softwareBrightness, value);
            return;
    }
}

}  // namespace quorvane
