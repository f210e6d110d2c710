#include "presentation/panel/panel_ddc_status.hpp"

namespace quorvane {

namespace {

constexpr const char* kDefaultHelp =
    "모니터 자체 설정은 이 컴퓨터가 모니터에 요청해 밝기·대비·입력 값을 바꾸는 기능입니다. "
    "케이블·허브·모니터에 따라 지원되지 않을 수 있습니다.";
constexpr const char* kProbeHelp =
    "외장 모니터가 밝기·대비 같은 자체 설정 변경에 응답하는지 확인합니다.";

bool offersProbe(DDCCapabilityBadgeKind kind) {
    return kind == DDCCapabilityBadgeKind::unchecked ||
           kind == DDCCapabilityBadgeKind::recheckNeeded ||
           kind == DDCCapabilityBadgeKind::unsupported;
}

// The panel's own short text for a badge kind.
std::string statusLabel(DDCCapabilityBadgeKind kind) {
    switch (kind) {
        case DDCCapabilityBadgeKind::unchecked:
            return "모니터 자체 설정 미확인";
        case DDCCapabilityBadgeKind::checking:
            return "모니터 기능 확인 중…";
        case DDCCapabilityBadgeKind::confirmed:
            return "모니터 설정 가능";
        case DDCCapabilityBadgeKind::unstable:
            return "모니터 응답 불안정";
        case DDCCapabilityBadgeKind::unsupported:
            return "모니터 설정 미지원";
        case DDCCapabilityBadgeKind::recheckNeeded:
            return "모니터 기능 다시 확인 필요";
    }
    return {};
}

}  // namespace

PanelDDCStatus panelDDCStatus(const DDCCapabilityBadge& badge, bool isBuiltin, bool isBusy) {
    PanelDDCStatus status{statusLabel(badge.kind), badge.systemImage, badge.tone,
                          badge.detail.value_or(kDefaultHelp), std::nullopt};
    if (!offersProbe(badge.kind))
        return status;
    const bool recheck = badge.kind == DDCCapabilityBadgeKind::recheckNeeded;
    status.probeButton = PanelProbeButton{recheck ? "다시 확인" : "모니터 기능 확인",
                                          !isBuiltin && !isBusy, kProbeHelp};
    return status;
}

}  // namespace quorvane
