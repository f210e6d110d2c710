#include "views/controls/recovery_journal_view.hpp"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "presentation/controls/recovery_journal_presentation.hpp"
#include "views/design/baseline_row_layout.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

namespace {

using Style = QuorvaneFontStyle;

class EntryCard : public QWidget {
  public:
    EntryCard(Theme& theme, bool compact, QWidget* parent)
        : QWidget(parent), theme_(theme), compact_(compact) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool dark = theme_.scheme() == ColorScheme::dark;
        const double radius = compact_ ? 9 : 11;
        painter.setPen(QPen(theme_.color(ColorRole::surfaceBorder, 0.54), 1));
        painter.setBrush(theme_.color(ColorRole::track, dark ? 0.30 : 0.42));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    }

  private:
    Theme& theme_;
    bool compact_;
};

WrappingLabel* wrapped(Theme& theme, const std::string& value, Style style, QFont::Weight weight,
                       bool secondary, QWidget* parent) {
    return themedLabel(theme, QString::fromStdString(value), style, weight, secondary, parent);
}

}  // namespace

RecoveryJournalView::RecoveryJournalView(Theme& theme, bool compact, int limit, QWidget* parent)
    : QWidget(parent),
      theme_(theme),
      compact_(compact),
      limit_(limit),
      column_(new QVBoxLayout(this)) {
    column_->setContentsMargins(0, 0, 0, 0);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    // What is built follows the theme in place; only a new journal rebuilds.
    rebuild();
}

void RecoveryJournalView::setJournal(QuorvaneRecoveryJournal journal) {
    if (journal == journal_)
        return;
    journal_ = std::move(journal);
    rebuild();
}

QWidget* RecoveryJournalView::buildRow(const QuorvaneRecoveryJournalEntry& entry, QWidget* parent) {
    const JournalStatusLook look = RecoveryJournalPresentation::statusLook(entry.status);
    auto* card = new EntryCard(theme_, compact_, parent);
    auto* row = new QHBoxLayout(card);
    const int inset = compact_ ? 8 : 10;
    row->setContentsMargins(inset, inset, inset, inset);
    row->setSpacing(compact_ ? 7 : 10);
    const Style wordStyle = compact_ ? Style::caption : Style::body;
    auto* icon = new SymbolImage(look.symbol, card);
    // The symbol is the size of the status word and centred on its line, in
    // a column of a fixed width, so every row's texts start at the same x.
    followTheme(theme_, icon, [this, icon, wordStyle, color = look.color] {
        icon->setColor(theme_.color(color));
        icon->setFont(theme_.font(wordStyle, QFont::DemiBold));
    });
    icon->setFixedWidth(compact_ ? 16 : 20);
    row->addWidget(icon, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    // The status word and the action title stand on one baseline.
    auto* titleLine = new BaselineRowLayout;
    titleLine->setSpacing(6);
    titleLine->addWidget(wrapped(theme_, look.word, wordStyle, QFont::DemiBold, false, card), 0,
                         Qt::AlignTop);
    auto* action = wrapped(theme_, entry.actionTitle, compact_ ? Style::caption2 : Style::caption,
                           QFont::Normal, true, card);
    titleLine->addWidget(action, 1, Qt::AlignTop);
    titleLine->addSpacing(4);
    texts->addLayout(titleLine);
    texts->addWidget(wrapped(theme_, entry.summary, compact_ ? Style::caption2 : Style::caption,
                             QFont::Normal, compact_, card));
    if (!compact_) {
        texts->addWidget(wrapped(theme_, RecoveryJournalPresentation::targetLine(entry),
                                 Style::caption2, QFont::Normal, true, card));
    }
    row->addLayout(texts, 1);
    return card;
}

void RecoveryJournalView::rebuild() {
    if (content_) {
        content_->hide();
        content_->deleteLater();
    }
    content_ = new QWidget(this);
    auto* stack = new QVBoxLayout(content_);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(compact_ ? 6 : 10);
    if (RecoveryJournalPresentation::showsHeader(compact_)) {
        auto* header = new QVBoxLayout;
        header->setSpacing(3);
        auto* titleRow = new QHBoxLayout;
        titleRow->setSpacing(6);
        auto* icon = new SymbolImage("clock.arrow.circlepath", content_);
        followTheme(theme_, icon, [this, icon] {
            icon->setFont(theme_.font(Style::subheadline, QFont::DemiBold));
        });
        titleRow->addWidget(icon, 0, Qt::AlignVCenter);
        titleRow->addWidget(
            wrapped(theme_, "최근 결과", Style::subheadline, QFont::DemiBold, false, content_), 1);
        header->addLayout(titleRow);
        header->addWidget(
            wrapped(theme_,
                    "닫힌 알림도 여기에 남습니다. 이 기록은 이 컴퓨터 안에만 저장되고 설정 파일로 "
                    "내보내지지 않습니다.",
                    Style::caption, QFont::Normal, true, content_));
        stack->addLayout(header);
    }
    shownRows_ = 0;
    if (const auto empty = RecoveryJournalPresentation::emptyText(journal_, compact_)) {
        stack->addWidget(wrapped(theme_, *empty, compact_ ? Style::caption2 : Style::caption,
                                 QFont::Normal, true, content_));
    } else {
        for (const auto& entry : RecoveryJournalPresentation::shownEntries(journal_, limit_)) {
            stack->addWidget(buildRow(entry, content_));
            ++shownRows_;
        }
    }
    column_->addWidget(content_);
}

}  // namespace quorvane
