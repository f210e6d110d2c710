#include "views/detail_form/start_guide_page.hpp"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <vector>

#include "presentation/detail_form/reference_layout.hpp"
#include "presentation/detail_form/start_guide.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/grid_rows.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/scroll_page.hpp"
#include "views/detail_form/step_card_button.hpp"

namespace quorvane {

StartGuidePage::StartGuidePage(DetailFormContext& context, QWidget* parent)
    : DetailPage(parent), context_(context) {
    auto* column = makeScrollPage(context, this, 14);
    column->addWidget(makeHero());
    column->addWidget(makeSteps());
    column->addWidget(makeSecondaryAction());
    column->addStretch(1);
}

QWidget* StartGuidePage::makeHero() {
    Theme& theme = context_.theme;
    auto* hero = new SurfacePanel(theme, SurfacePanel::Kind::hero, 20, 16);
    auto* column = new QVBoxLayout(hero);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    column->addLayout(makeSymbolRow(
        makeSymbol(theme, "sparkles", QuorvaneFontStyle::title3, QFont::DemiBold,
                   ColorRole::accent),
        makeText(theme, StartGuide::kHeroTitle, QuorvaneFontStyle::title3, QFont::DemiBold), 8));
    column->addWidget(
        makeText(theme, StartGuide::kHeroText, QuorvaneFontStyle::callout, QFont::Normal, true));

    displaySymbol_ = makeSymbol(theme, "display", QuorvaneFontStyle::caption, QFont::Medium,
                                ColorRole::secondary);
    displayLabel_ = makeText(theme, QString(), QuorvaneFontStyle::caption, QFont::Medium, true);
    auto* displayRow = makeSymbolRow(displaySymbol_, displayLabel_);
    displayRow->setContentsMargins(0, 2, 0, 0);
    column->addLayout(displayRow);
    return hero;
}

QWidget* StartGuidePage::makeSteps() {
    auto* grid = new QWidget;
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    std::vector<QWidget*> cards;
    for (const auto& step : StartGuide::steps()) {
        auto* card = new StepCardButton(context_.theme, step);
        connect(card, &QAbstractButton::clicked, this,
                [this, step] { StartGuide::openStep(context_.state, step); });
        cards.push_back(card);
    }
    // The column count follows the text size; the cards move in place.
    followTheme(context_.theme, grid, [this, layout, cards] {
        const int columns =
            ReferenceLayout::forTextSize(context_.theme.textSize()).startGuideColumns;
        placeInRows(*layout, cards, columns);
    });
    return grid;
}

QWidget* StartGuidePage::makeSecondaryAction() {
    Theme& theme = context_.theme;
    auto* panel = new SurfacePanel(theme, SurfacePanel::Kind::soft, 16, 16);
    auto* outer = new QVBoxLayout(panel);
    outer->setContentsMargins(0, 0, 0, 0);

    auto* copy = new QWidget;
    auto* copyColumn = new QVBoxLayout(copy);
    copyColumn->setContentsMargins(0, 0, 0, 0);
    copyColumn->setSpacing(4);
    copyColumn->addLayout(makeSymbolRow(
        makeSymbol(theme, "slider.horizontal.3", QuorvaneFontStyle::subheadline, QFont::DemiBold),
        makeText(theme, StartGuide::kAdvancedTitle, QuorvaneFontStyle::subheadline,
                 QFont::DemiBold)));
    copyColumn->addWidget(makeCaption(theme, StartGuide::kAdvancedText));

    auto* button =
        new ChipButton(theme, StartGuide::kAdvancedButton, QuorvaneChipProminence::neutral);
    button->setSymbol("chevron.right");
    connect(button, &QAbstractButton::clicked, this,
            [this] { StartGuide::openAdvanced(context_.state); });

    auto* fit = new FitToWidth(12, 12);
    fit->addWidget(copy);
    fit->addStretch(12);
    fit->addWidget(button);
    outer->addWidget(fit);
    return panel;
}

void StartGuidePage::refresh(const DisplaySnapshot& display) {
    displaySymbol_->setSystemName(StartGuide::displaySymbol(display));
    displayLabel_->setText(qText(context_.store.displayLabel(display)));
}

}  // namespace quorvane
