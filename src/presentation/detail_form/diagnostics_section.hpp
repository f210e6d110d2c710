#pragma once

#include "models/diagnostics/quorvane_support_action.hpp"
#include "models/display/display_snapshot.hpp"
#include "presentation/main_window/main_window_state.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

// The diagnostics page ("안 되는 이유 찾기"): the health-check wizard for the
// display, whose buttons come back here. Each action is at most one store
// call or one move to another section.
struct DiagnosticsSection {
    static void runSupportAction(const QuorvaneSupportAction& action, DisplayStore& store,
                                 MainWindowState& state, const DisplaySnapshot& display);

    static constexpr const char* kIntro =
        "버튼이 안 보이거나 조정이 안 먹을 때 먼저 볼 곳입니다. 앱이 할 수 있는 일과 다음 확인 "
        "순서를 짧게 보여줍니다.";
    static constexpr const char* kNoSummaryTitle = "지원 정보를 만들 수 없음";
    static constexpr const char* kNoSummaryText = "디스플레이 목록을 다시 읽은 뒤 확인해 보세요.";
};

}  // namespace quorvane
