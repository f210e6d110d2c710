#include "views/detail_form/recovery_section_view.hpp"

#include <QVBoxLayout>

#include "views/controls/recovery_journal_view.hpp"
#include "views/design/accessible_card.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/form_rows.hpp"

namespace quorvane {

namespace {

// One titled group of the page: its header over the returned content layout.
QVBoxLayout* addGroup(Theme& theme, QVBoxLayout* page, const QString& title, QWidget** group) {
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    auto* header = makeText(theme, title, QuorvaneFontStyle::subheadline, QFont::DemiBold, true);
    header->setContentsMargins(4, 8, 4, 0);
    column->addWidget(header);
    auto* content = new QVBoxLayout;
    content->setSpacing(8);
    column->addLayout(content);
    page->addWidget(box);
    if (group)
        *group = box;
    return content;
}

}  // namespace

RecoverySectionView::RecoverySectionView(DetailFormContext& context, QWidget* parent)
    : DetailPage(parent), context_(context) {
    Theme& theme = context.theme;
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(12);
    stateSlot_ = addGroup(theme, page, QStringLiteral("현재 상태"), nullptr);
    displayCards_ = addGroup(theme, page, QStringLiteral("이 화면만 되돌리기"), &displayGroup_);
    auto* journal = addGroup(theme, page, QStringLiteral("최근 변경 기록"), nullptr);
    journal_ = new RecoveryJournalView(theme, false, RecoverySection::kJournalLimit);
    journal->addWidget(journal_);
    emergencySlot_ = addGroup(theme, page, QStringLiteral("전체 안전 복구"), nullptr);
    cleanUpSlot_ = addGroup(theme, page, QStringLiteral("저장값 정리"), nullptr);
}

QWidget* RecoverySectionView::makeStatePanel(
    const std::optional<RecoverySection::StatePanel>& state) {
    Theme& theme = context_.theme;
    if (!state)
        return makeText(theme, RecoverySection::kUnknownState, QuorvaneFontStyle::body,
                        QFont::Normal, true);
    auto* panel = new SurfacePanel(theme, SurfacePanel::Kind::soft, 14, 16);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    const ColorRole tint = state->tint;
    auto* text =
        makeText(theme, qText(state->title), QuorvaneFontStyle::subheadline, QFont::DemiBold);
    followTheme(theme, text, [text, &theme, tint] { text->setTextColor(theme.color(tint)); });
    column->addLayout(
        makeSymbolRow(makeSymbol(theme, state->systemImage, QuorvaneFontStyle::subheadline,
                                 QFont::DemiBold, tint),
                      text));
    column->addWidget(makeCaption(theme, qText(state->explanation)));
    return panel;
}

QWidget* RecoverySectionView::makeCard(const RecoveryCard& card) {
    Theme& theme = context_.theme;
    auto* panel = new SurfacePanel(theme, SurfacePanel::Kind::soft, 14, 16);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(9);
    auto* button = new ChipButton(theme, qText(card.title), card.prominence);
    button->setSymbol(card.systemImage);
    button->setActionLabel(kBaselineActionButtonLabel);
    button->setRole(card.role);
    button->setEnabled(!card.disabled);
    button->setToolTip(qText(card.help));
    readAsOneButton(panel, button, qText(card.title), qText(card.detail));
    const RecoveryAction action = card.action;
    connect(button, &QAbstractButton::clicked, this, [this, action] {
        if (display_)
            RecoverySection::run(action, context_.store, context_.confirmations, *display_);
    });
    column->addWidget(button, 0, Qt::AlignLeft);
    column->addWidget(makeCaption(theme, qText(card.detail)));
    return panel;
}

void RecoverySectionView::refresh(const DisplaySnapshot& display) {
    display_ = display;
    journal_->setJournal(context_.store.recoveryJournal());
    auto section = RecoverySection::make(context_.store, display.id);
    if (shown_ && *shown_ == section)
        return;
    const bool firstTime = !shown_;
    if (firstTime || shown_->state != section.state) {
        clearLayout(stateSlot_);
        stateSlot_->addWidget(makeStatePanel(section.state));
    }
    if (firstTime || shown_->displayCards != section.displayCards) {
        clearLayout(displayCards_);
        for (const auto& card : section.displayCards)
            displayCards_->addWidget(makeCard(card));
        displayGroup_->setVisible(!section.displayCards.empty());
    }
    if (firstTime || shown_->emergency != section.emergency) {
        clearLayout(emergencySlot_);
        emergencySlot_->addWidget(makeCard(section.emergency));
        emergencySlot_->addWidget(makeCaption(context_.theme, RecoverySection::kEmergencyNote));
    }
    if (firstTime || shown_->cleanUp != section.cleanUp) {
        clearLayout(cleanUpSlot_);
        for (const auto& card : section.cleanUp)
            cleanUpSlot_->addWidget(makeCard(card));
    }
    shown_ = std::move(section);
}

}  // namespace quorvane
