#include "presentation/settings/settings_status_strip.hpp"

namespace quorvane {

std::array<SettingsStatusTile, 3> settingsStatusTiles(QuorvaneAppearance appearance,
                                                      bool autoApplyEnabled) {
    return {{
        {"화면 모드", std::string(displayName(appearance)), "시스템/라이트/다크",
         ColorRole::accent},
        {"자동 적용", autoApplyEnabled ? "켜짐" : "꺼짐", "해상도·모니터 밝기 제외",
         autoApplyEnabled ? ColorRole::green : ColorRole::mutedInk},
        {"가져오기", "미리보기", "확인 전 화면 변경 없음", ColorRole::warning},
    }};
}

}  // namespace quorvane
