#include "views/detail_form/color_reference_page.hpp"

#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "presentation/detail_form/color_bindings.hpp"
#include "presentation/detail_form/reference_layout.hpp"
#include "presentation/main_window/rgb_curve_channel.hpp"
#include "views/access/accessible_role.hpp"
#include "views/controls/correction_toggle.hpp"
#include "views/controls/hold_to_compare_button.hpp"
#include "views/controls/native_slider_row.hpp"
#include "views/controls/rgb_curve_coordinate_editor.hpp"
#include "views/controls/slider_row_group.hpp"
#include "views/design/baseline_row_layout.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/disclosure_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/segmented_picker.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/card_grid.hpp"
#include "views/detail_form/color_row_view.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/reference_hero.hpp"
#include "views/detail_form/scroll_page.hpp"

namespace quorvane {

namespace {

// The output filter's segments, in the picker's order.
constexpr std::array kFilterChoices{QuorvaneOutputFilter::none, QuorvaneOutputFilter::invert};

}  // namespace

ColorReferencePage::ColorReferencePage(DetailFormContext& context, QWidget* parent)
    : DetailPage(parent), context_(context) {
    auto* column = makeScrollPage(context, this, 16);
    hero_ = new ReferenceHero(context);
    column->addWidget(hero_);

    auto* grid =
        new CardGrid(ReferenceLayout::forTextSize(context.theme.textSize()).colorCardColumns, 16);
    for (const auto& card : ReferenceColorCards::cards())
        grid->addCard(makeCard(card));
    followTheme(context.theme, grid, [grid, &theme = context.theme] {
        grid->setColumns(ReferenceLayout::forTextSize(theme.textSize()).colorCardColumns);
    });
    column->addWidget(grid);
    column->addStretch(1);
}

QWidget* ColorReferencePage::makeCard(const ReferenceColorCard& card) {
    Theme& theme = context_.theme;
    auto* panel = new SurfacePanel(theme, SurfacePanel::Kind::soft, 16, 16);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    // The hint stands on the title's first line.
    auto* header = new BaselineRowLayout;
    auto* title =
        makeText(theme, qText(card.title), QuorvaneFontStyle::subheadline, QFont::DemiBold);
    header->addWidget(title, 1, Qt::AlignTop);
    if (card.hint) {
        auto* hint = makeCaption(theme, qText(*card.hint));
        hint->setAlignment(Qt::AlignRight);
        header->addWidget(hint, 0, Qt::AlignTop);
    }
    column->addLayout(header);
    if (card.description)
        column->addWidget(makeCaption(theme, qText(*card.description)));

    switch (card.kind) {
        case ReferenceColorCardKind::basics:
            addBasics(column, card);
            break;
        case ReferenceColorCardKind::outputRGB:
            addRows(column, card);
            break;
        case ReferenceColorCardKind::rgbCurves:
            addCurves(column, card);
            break;
        case ReferenceColorCardKind::outputFilter:
            addFilter(column, title);
            break;
    }
    if (card.reset && card.kind != ReferenceColorCardKind::rgbCurves)
        column->addWidget(makeResetButton(*card.reset), 0, Qt::AlignLeft);
    return panel;
}

void ColorReferencePage::addRows(QVBoxLayout* column, const ReferenceColorCard& card) {
    // The rows of one card share their label column.
    auto* group = new SliderRowGroup(column->parentWidget());
    for (const auto& row : card.rows) {
        rows_.push_back(new ColorRowView(context_, row));
        rows_.back()->sliderRow()->joinColumn(group);
        column->addWidget(rows_.back());
    }
}

void ColorReferencePage::addBasics(QVBoxLayout* column, const ReferenceColorCard& card) {
    column->addWidget(new CorrectionToggle(context_.view, false));
    // Present only while the store has a recovery snapshot for the display.
    holdSlot_ = new QVBoxLayout;
    holdSlot_->setContentsMargins(0, 0, 0, 0);
    column->addLayout(holdSlot_);
    addRows(column, card);
}

void ColorReferencePage::addCurves(QVBoxLayout* column, const ReferenceColorCard& card) {
    // Each commit is one colour write for the display shown at that moment.
    curveEditor_ = new RGBCurveCoordinateEditor(
        context_.theme,
        [this] { return RGBGammas::of(context_.store.colorAdjustment(displayID_)); },
        [this](const RGBCurveEdit& edit) {
            context_.store.updateColorAdjustment(
                displayID_, [edit](ColorAdjustment& adjustment) { edit.applyTo(adjustment); });
        });
    column->addWidget(curveEditor_);

    auto* fineTune = new QWidget;
    auto* fineColumn = new QVBoxLayout(fineTune);
    fineColumn->setContentsMargins(0, 6, 0, 0);
    fineColumn->setSpacing(10);
    addRows(fineColumn, card);
    fineColumn->addWidget(makeResetButton(*card.reset), 0, Qt::AlignLeft);
    auto* disclosure = makeDisclosure(context_.theme, ReferenceColorCards::kFineTuneLabel,
                                      QuorvaneFontStyle::caption, QFont::DemiBold, fineTune,
                                      ReferenceColorCards::kFineTuneSymbol);
    column->addWidget(disclosure, 0, Qt::AlignLeft);
    column->addWidget(fineTune);
}

void ColorReferencePage::addFilter(QVBoxLayout* column, QWidget* heading) {
    Theme& theme = context_.theme;
    // The picker's title beside its segments while they fit, above them in
    // a card half the page wide; the segments keep their line together.
    auto* row = new FitToWidth(8, 6);
    row->setSharedLineLook(8, Qt::AlignVCenter);
    // The card's heading says the same words and names the picker; they are
    // read once.
    auto* pickerTitle =
        makeText(theme, ReferenceColorCards::kOutputFilterPickerTitle, QuorvaneFontStyle::body);
    hideFromAccessibility(pickerTitle);
    row->addWidget(pickerTitle);
    row->addStretch(1);
    std::vector<QString> labels;
    for (const auto filter : kFilterChoices)
        labels.push_back(qText(ReferenceColorCards::outputFilterOptionText(filter)));
    filterPicker_ = new SegmentedPicker(theme, labels, {});
    labelBy(filterPicker_, heading);
    filterPicker_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    row->addWidget(filterPicker_, 0);
    connect(filterPicker_, &SegmentedPicker::picked, this, [this](int index) {
        ColorBindings::setOutputFilter(context_.store, displayID_,
                                       kFilterChoices[static_cast<std::size_t>(index)]);
    });
    column->addWidget(row);
    filterDescription_ =
        makeText(theme, QString(), QuorvaneFontStyle::caption2, QFont::Normal, true);
    column->addWidget(filterDescription_);
}

QAbstractButton* ColorReferencePage::makeResetButton(const ColorResetButton& reset) {
    auto* button =
        new ChipButton(context_.theme, qText(reset.title), QuorvaneChipProminence::neutral);
    connect(button, &QAbstractButton::clicked, this,
            [this, reset] { reset.press(context_.store, displayID_); });
    resets_.emplace_back(reset, button);
    return button;
}

void ColorReferencePage::updateHoldToCompare(const DisplaySnapshot& display) {
    const auto enabled =
        ReferenceColorCards::holdToCompareEnabled(context_.store.recoverySnapshot(display.id),
                                                  context_.store.softwareColorCorrectionEnabled());
    if (!enabled) {
        if (holdButton_) {
            holdButton_->hide();
            holdButton_->deleteLater();
        }
        return;
    }
    if (!holdButton_) {
        holdButton_ = new HoldToCompareButton(context_.view, display.id, false);
        holdSlot_->addWidget(holdButton_);
    }
    holdButton_->setComparisonEnabled(*enabled);
}

void ColorReferencePage::refresh(const DisplaySnapshot& display) {
    displayID_ = display.id;
    hero_->refresh(display);
    const auto adjustment = context_.store.colorAdjustment(display.id);
    for (auto* row : rows_)
        row->refresh(display.id, adjustment);
    for (auto& [reset, button] : resets_)
        button->setEnabled(!reset.disabled(adjustment));
    updateHoldToCompare(display);
    if (curveEditor_)
        curveEditor_->refresh();
    filterPicker_->setSelected(static_cast<int>(
        std::find(kFilterChoices.begin(), kFilterChoices.end(), adjustment.outputFilter) -
        kFilterChoices.begin()));
    filterDescription_->setText(
        qText(ReferenceColorCards::outputFilterDescription(adjustment.outputFilter)));
}

}  // namespace quorvane
