#include "views/detail_form/recovery_section_view.hpp"

#include <QVBoxLayout>
#include <functional>
#include <string>

#include "views/access/accessible_card.hpp"
#include "views/controls/recovery_journal_view.hpp"
#include "views/controls/spoken_result.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/keyed_rows.hpp"
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

// One action card: its button over its explanation, read as one button.
// Kept for its place in the group while the page lives; show() follows what
// the card says now (a paused effect's card turns into the one that resumes
// it, under the user's focus).
class ActionCard : public SurfacePanel {
  public:
    ActionCard(Theme& theme, std::function<void(RecoveryAction)> run)
        : SurfacePanel(theme, SurfacePanel::Kind::soft, 14, 16) {
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(9);
        button_ = new ChipButton(theme, QString(), QuorvaneChipProminence::neutral);
        button_->setActionLabel(kBaselineActionButtonLabel);
        connect(button_, &QAbstractButton::clicked, this,
                [this, run = std::move(run)] { run(action_); });
        column->addWidget(button_, 0, Qt::AlignLeft);
        detail_ = makeCaption(theme, QString());
        column->addWidget(detail_);
    }

    void show(const RecoveryCard& card) {
        action_ = card.action;
        const QString title = qText(card.title);
        const QString detail = qText(card.detail);
        if (button_->text() != title)
            button_->setText(title);
        button_->setSymbol(card.systemImage);
        button_->setProminence(card.prominence);
        button_->setRole(card.role);
        button_->setEnabled(!card.disabled);
        button_->setToolTip(qText(card.help));
        if (detail_->text() != detail)
            detail_->setText(detail);
        readAsOneButton(this, button_, title, detail);
    }

  private:
    ChipButton* button_ = nullptr;
    WrappingLabel* detail_ = nullptr;
    RecoveryAction action_{};
};

}  // namespace

RecoverySectionView::RecoverySectionView(DetailFormContext& context, QWidget* parent)
    : DetailPage(parent), context_(context) {
    Theme& theme = context.theme;
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(12);
    stateSlot_ = addGroup(theme, page, QStringLiteral("현재 상태"), nullptr);
    displayCards_ = std::make_unique<KeyedRows>(
        addGroup(theme, page, QStringLiteral("이 화면만 되돌리기"), &displayGroup_));
    auto* journal = addGroup(theme, page, QStringLiteral("최근 변경 기록"), nullptr);
    journal_ = new RecoveryJournalView(theme, false, RecoverySection::kJournalLimit);
    journal->addWidget(journal_);
    auto* emergency = addGroup(theme, page, QStringLiteral("전체 안전 복구"), nullptr);
    emergencyCard_ = std::make_unique<KeyedRows>(emergency);
    emergency->addWidget(makeCaption(theme, RecoverySection::kEmergencyNote));
    cleanUpCards_ =
        std::make_unique<KeyedRows>(addGroup(theme, page, QStringLiteral("저장값 정리"), nullptr));
}

RecoverySectionView::~RecoverySectionView() = default;

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

void RecoverySectionView::showCards(KeyedRows& rows, const std::vector<RecoveryCard>& cards) {
    rows.show(
        KeyedRows::placeKeys(cards.size()),
        [this, &cards](std::size_t index) {
            auto* card = new ActionCard(context_.theme, [this](RecoveryAction action) {
                if (display_)
                    speakResultOf(this, context_.store, [&] {
                        RecoverySection::run(action, context_.store, context_.confirmations,
                                             *display_);
                    });
            });
            card->show(cards[index]);
            return card;
        },
        [&cards](QWidget* card, std::size_t index) {
            static_cast<ActionCard*>(card)->show(cards[index]);
        });
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
    // The cards stay, changed in place, so the one just pressed keeps the
    // focus and the page stays where it was.
    if (firstTime || shown_->displayCards != section.displayCards) {
        showCards(*displayCards_, section.displayCards);
        displayGroup_->setVisible(!section.displayCards.empty());
    }
    if (firstTime || shown_->emergency != section.emergency)
        showCards(*emergencyCard_, {section.emergency});
    if (firstTime || shown_->cleanUp != section.cleanUp)
        showCards(*cleanUpCards_, section.cleanUp);
    shown_ = std::move(section);
}

}  // namespace quorvane
