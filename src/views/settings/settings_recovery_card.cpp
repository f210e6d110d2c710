#include "views/settings/settings_recovery_card.hpp"

#include <QVBoxLayout>

#include "views/design/chip_button.hpp"
#include "views/design/settings_card_frame.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/settings/settings_action_card.hpp"

namespace quorvane {

SettingsRecoveryCard::SettingsRecoveryCard(Theme& theme, QWidget* parent) : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto frame = makeSettingsCard(
        theme, QuorvaneGlyph::recovery, [] { return ColorRole::warning; },
        QStringLiteral("안전 복구"), QStringLiteral("초기화와 로컬 기록"));
    outer->addWidget(frame.panel);
    reset_ = new SettingsActionCard(
        theme, QStringLiteral("전체 초기화"),
        QStringLiteral("저장 색감, 선택 화면, 프리셋·작업 모드·묶음, 자동 적용과 단축키 상태를 "
                       "초기화합니다. 해상도와 모니터 밝기는 변경하지 않습니다."),
        "trash", QuorvaneChipProminence::destructive, frame.panel);
    reset_->button()->setRole(ButtonRole::destructive);
    frame.column->addWidget(reset_);
    frame.column->addWidget(themedLabel(
        theme, QStringLiteral("초기화 후 URL 자동화는 꺼지고, 비상 복구 단축키는 다시 켜집니다."),
        QuorvaneFontStyle::caption, QFont::Normal, true));
    connect(reset_, &SettingsActionCard::triggered, this, &SettingsRecoveryCard::resetRequested);
}

}  // namespace quorvane
