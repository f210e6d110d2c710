#pragma once

#include <string_view>

namespace quorvane::main_window_texts {

// Sidebar.
inline constexpr std::string_view kDisplaysHeader = "디스플레이";
inline constexpr std::string_view kFirstHeader = "처음";
inline constexpr std::string_view kFrequentHeader = "자주 쓰는 기능";
inline constexpr std::string_view kAdvancedGroupTitle = "고급 옵션";
inline constexpr std::string_view kAdvancedGroupSymbol = "slider.horizontal.3";
inline constexpr std::string_view kAdvancedGroupHelp =
    "필요할 때만 여는 모니터 자체 설정, 작업 모드, 색상 기준, 안 되는 이유 화면입니다.";

// Utility header above the detail column.
inline constexpr std::string_view kRescanSymbol = "arrow.clockwise";
inline constexpr std::string_view kRescanLabel = "새로고침";
inline constexpr std::string_view kRescanHelp = "디스플레이 목록과 현재 값을 다시 읽습니다.";
inline constexpr std::string_view kSettingsSymbol = "gearshape";
inline constexpr std::string_view kSettingsLabel = "설정 열기";
inline constexpr std::string_view kSettingsHelp =
    "설정 창을 엽니다. 내보내기, 가져오기, 초기화는 설정 창 안에 있습니다.";

// Offered in the header only while no tray shows the program's icon. The
// panel's own symbol, the tray icon's picture: not the advanced options'
// sliders, which the sidebar and the start page show.
inline constexpr std::string_view kPanelSymbol = "display";
inline constexpr std::string_view kPanelLabel = "빠른 화면 조정 열기";
inline constexpr std::string_view kPanelHelp =
    "밝기와 색온도, 모니터 상태와 복구를 한곳에서 다루는 작은 창을 엽니다.";

// No-display state.
inline constexpr std::string_view kNoDisplayTitle = "디스플레이 없음";
inline constexpr std::string_view kNoDisplaySymbol = "display.trianglebadge.exclamationmark";
inline constexpr std::string_view kNoDisplayDescription =
    "활성 디스플레이를 찾지 못했습니다. 케이블과 시스템 디스플레이 설정을 확인한 뒤 다시 "
    "검색하세요.";
inline constexpr std::string_view kRescanButton = "디스플레이 다시 검색";
inline constexpr std::string_view kSettingsButton = "설정 열기";

}  // namespace quorvane::main_window_texts
