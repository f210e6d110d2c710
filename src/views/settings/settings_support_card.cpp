#include "views/settings/settings_support_card.hpp"

#include <QVBoxLayout>

#include "services/display_store/display_store.hpp"
#include "views/controls/recovery_journal_view.hpp"
#include "views/design/settings_card_frame.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/settings/settings_action_card.hpp"
#include "views/settings/settings_disclosure_section.hpp"

namespace quorvane {

namespace {

constexpr int kJournalLimit = 5;

}  // namespace

SettingsSupportCard::SettingsSupportCard(Theme& theme, DisplayStore& store, QWidget* parent)
    : QWidget(parent), store_(store) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto frame = makeSettingsCard(
        theme, QuorvaneGlyph::diagnostics, [] { return ColorRole::warning; },
        QStringLiteral("지원"), QStringLiteral("공유 전 미리보기"));
    outer->addWidget(frame.panel);

    basic_ = new SettingsActionCard(
        theme, QStringLiteral("리포트 미리보기"),
        QStringLiteral(
            "공유 전에 내용을 먼저 보여줍니다. 기본 리포트는 민감한 모니터 값을 뺍니다."),
        "doc.text.magnifyingglass", QuorvaneChipProminence::warning, frame.panel);
    frame.column->addWidget(basic_);

    details_ = new SettingsDisclosureSection(theme, QStringLiteral("지원 담당자용 상세 정보"),
                                             frame.panel);
    details_->content()->setSpacing(10);
    detailed_ = new SettingsActionCard(
        theme, QStringLiteral("상세 리포트"),
        QStringLiteral("지원 담당자가 요청했을 때만 사용하세요. 모델·해상도·DDC 상태를 포함하지만 "
                       "고유 번호와 경로는 계속 가립니다."),
        "externaldrive.badge.gearshape", QuorvaneChipProminence::neutral, details_);
    details_->content()->addWidget(detailed_);
    details_->content()->addWidget(
        themedLabel(theme, QStringLiteral("평소에는 기본 리포트만으로 충분합니다."),
                    QuorvaneFontStyle::caption, QFont::Normal, true));
    frame.column->addWidget(details_);

    journal_ =
        new SettingsDisclosureSection(theme, QStringLiteral("최근 복구 기록 보기"), frame.panel);
    journal_->content()->setSpacing(8);
    journalView_ = new RecoveryJournalView(theme, false, kJournalLimit, journal_);
    journal_->content()->addWidget(journalView_);
    journal_->content()->addWidget(themedLabel(
        theme,
        QStringLiteral("이 컴퓨터에만 남는 로컬 기록입니다. 설정 파일에는 포함하지 않습니다."),
        QuorvaneFontStyle::caption, QFont::Normal, true));
    frame.column->addWidget(journal_);

    connect(basic_, &SettingsActionCard::triggered, this,
            [this] { emit reportRequested(QuorvaneDiagnosticPrivacyMode::privacyPreserving); });
    connect(detailed_, &SettingsActionCard::triggered, this,
            [this] { emit reportRequested(QuorvaneDiagnosticPrivacyMode::hardwareDetails); });
    refresh();
}

void SettingsSupportCard::refresh() {
    journalView_->setJournal(store_.recoveryJournal());
}

}  // namespace quorvane
