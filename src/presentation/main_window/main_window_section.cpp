#include "presentation/main_window/main_window_section.hpp"

#include <algorithm>

namespace quorvane {

namespace {

constexpr std::array<MainWindowSectionInfo, 10> kSectionInfos = {{
    {"시작하기", "sparkles", "startSpark", "처음엔 여기부터",
     "처음 쓰는 사용자를 위한 안전한 설정 순서입니다."},
    {"화면 색감", "paintpalette", "screenColor", "밝기·색온도",
     "앱이 화면 출력 색을 보정합니다. 모니터 버튼 메뉴의 실제 설정은 바꾸지 않습니다."},
    {"색상 기준", "camera.filters", "colorProfile", "고급 색상 설정",
     "시스템이 이 디스플레이에 사용하는 색상 기준입니다. 처음에는 바꾸지 않아도 됩니다."},
    {"모니터 자체 설정", "slider.horizontal.3", "hardwareDirect", "가능한 모니터만",
     "모니터 메뉴에 남는 밝기·대비·입력 전환입니다. 가능 여부를 확인한 뒤에만 표시합니다."},
    {"작업 모드", "square.grid.2x2", "sceneTiles", "여러 화면 한번에",
     "업무/야간/디자인처럼 여러 디스플레이에 한 번에 적용하는 안전한 색감 묶음입니다."},
    {"모니터 묶음", "rectangle.3.group.bubble", "monitorGroup", "멀티 모니터용",
     "책상이나 작업 환경별 디스플레이 묶음입니다. 여러 모니터를 쓸 때만 필요합니다."},
    {"내 설정 저장", "rectangle.stack", "presets", "프리셋 저장/적용",
     "현재 색상값을 저장하거나 저장된 프리셋을 적용합니다."},
    {"해상도", "rectangle.3.group", "resolution", "명시적 변경",
     "시스템이 노출한 해상도와 주사율 모드만 전환합니다."},
    {"안 되는 이유", "info.circle", "diagnostics", "지원 정보 확인",
     "왜 안 되는지와 다음에 볼 순서를 확인합니다."},
    {"되돌리기", "arrow.counterclockwise", "recovery", "색이 이상할 때",
     "색상이 이상해졌을 때 저장값 삭제나 화면 출력 색상 보정 복원을 실행합니다."},
}};

constexpr std::array<std::string_view, 10> kCaseNames = {
    "start",  "color",   "profile",    "hardware",    "scenes",
    "groups", "presets", "resolution", "diagnostics", "recovery"};

}  // namespace

std::string_view caseName(MainWindowSection section) {
    return kCaseNames[static_cast<std::size_t>(section)];
}

std::optional<MainWindowSection> parseCaseName(std::string_view text, MainWindowSection*) {
    for (const auto section : kAllMainWindowSections) {
        if (caseName(section) == text)
            return section;
    }
    return std::nullopt;
}

const MainWindowSectionInfo& sectionInfo(MainWindowSection section) {
    return kSectionInfos[static_cast<std::size_t>(section)];
}

bool isAdvancedSection(MainWindowSection section) {
    return std::ranges::find(kAdvancedSidebarSections, section) != kAdvancedSidebarSections.end();
}

}  // namespace quorvane
