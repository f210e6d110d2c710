#include "views/settings/settings_files_card.hpp"

#include <QVBoxLayout>

#include "views/design/settings_card_frame.hpp"
#include "views/design/surface_panel.hpp"
#include "views/settings/settings_action_card.hpp"

namespace quorvane {

SettingsFilesCard::SettingsFilesCard(Theme& theme, QWidget* parent) : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto frame = makeSettingsCard(
        theme, QuorvaneGlyph::settingsImport, [] { return ColorRole::accent; },
        QStringLiteral("설정 파일"), QStringLiteral("백업과 이전"));
    outer->addWidget(frame.panel);
    export_ = new SettingsActionCard(
        theme, QStringLiteral("내보내기"), QStringLiteral("현재 설정을 JSON 파일로 저장합니다."),
        "square.and.arrow.up", QuorvaneChipProminence::neutral, frame.panel);
    import_ = new SettingsActionCard(
        theme, QStringLiteral("가져오기"),
        QStringLiteral("적용 전 미리보기에서 디스플레이 매핑을 확인합니다. 확인 전에는 화면이나 "
                       "모니터 값을 바꾸지 않습니다."),
        "square.and.arrow.down", QuorvaneChipProminence::accent, frame.panel);
    frame.column->addWidget(export_);
    frame.column->addWidget(import_);
    connect(export_, &SettingsActionCard::triggered, this, &SettingsFilesCard::exportRequested);
    connect(import_, &SettingsActionCard::triggered, this, &SettingsFilesCard::importRequested);
}

}  // namespace quorvane
