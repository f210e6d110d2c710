#include <algorithm>
#include <set>

#include "models/coding/number_format.hpp"
#include "models/coding/text_joining.hpp"
#include "models/ddc/ddc_vcp_code.hpp"
#include "models/display/display_identity.hpp"
#include "services/diagnostics/quorvane_display_support_summary_builder.hpp"

namespace quorvane {

namespace {

using Status = QuorvaneSupportStatus;
using Kind = QuorvaneSupportActionKind;
using Builder = QuorvaneDisplaySupportSummaryBuilder;

template <class Map>
std::vector<std::string> labelsOfKeys(const Map& byCode) {
    std::vector<std::string> labels;
    for (const auto& entry : byCode)  // ordered by code
        labels.emplace_back(label(entry.first));
    return labels;
}

QuorvaneSupportAction openSectionAction(std::string title) {
    return {Kind::openHardwareSection, std::move(title), std::nullopt, true, std::nullopt};
}

// "사용 가능: " and the labels, or `withoutLabels`.
std::string usableControlsText(const std::optional<DDCSnapshot>& snapshot,
                               const std::optional<DDCCapabilityEntry>& entry,
                               std::string_view withoutLabels) {
    const auto labels = Builder::supportedControlLabels(snapshot, entry);
    if (labels.empty())
        return std::string(withoutLabels);
    return "사용 가능: " + joined(labels, ", ");
}

bool isPartiallyConfirmed(const std::optional<DDCSnapshot>& snapshot,
                          const std::optional<DDCCapabilityEntry>& entry) {
    return (snapshot && !snapshot->unsupported.empty()) ||
           (entry && !entry->unstableRecords().empty());
}

std::string_view badgeKindText(DDCCapabilityBadgeKind kind) {
    switch (kind) {
        case DDCCapabilityBadgeKind::unchecked:
            return "아직 확인하지 않음";
        case DDCCapabilityBadgeKind::checking:
            return "확인 중";
        case DDCCapabilityBadgeKind::confirmed:
            return "사용 가능";
        case DDCCapabilityBadgeKind::unstable:
            return "일부 항목 재확인 필요";
        case DDCCapabilityBadgeKind::unsupported:
            return "이 연결에서는 찾지 못함";
        case DDCCapabilityBadgeKind::recheckNeeded:
            break;
    }
    return "다시 확인 필요";
}

std::string countText(std::size_t count) {
    return formatDecimal(static_cast<std::uint64_t>(count));
}

}  // namespace

std::vector<std::string> QuorvaneDisplaySupportSummaryBuilder::supportedControlLabels(
    const std::optional<DDCSnapshot>& snapshot, const std::optional<DDCCapabilityEntry>& entry) {
    if (snapshot && !snapshot->values.empty())
        return labelsOfKeys(snapshot->values);
    if (!entry)
        return {};
    std::set<DDCVCPCode> codes;
    for (const auto& record : entry->supportedRecords()) {
        if (const auto code = ddcVCPCodeFromRaw(record.codeRawValue))
            codes.insert(*code);
    }
    std::vector<std::string> labels;
    for (DDCVCPCode code : codes)
        labels.emplace_back(label(code));
    return labels;
}

QuorvaneSupportCapabilityRow QuorvaneDisplaySupportSummaryBuilder::partialConfirmedDDCRow(
    const DDCCapabilityBadge& badge, const std::optional<DDCSnapshot>& snapshot,
    const std::optional<DDCCapabilityEntry>& entry) {
    return {"monitor-direct-control",
            "모니터 직접 조정",
            "모니터 밝기처럼 답한 항목만 보여줍니다. 빠진 항목은 경고가 아닙니다. " +
                usableControlsText(snapshot, entry, "답한 항목만 표시합니다."),
            Status::available,
            badge.detail,
            {openSectionAction("확인된 항목 보기")}};
}

QuorvaneSupportCapabilityRow QuorvaneDisplaySupportSummaryBuilder::limitedDDCRow(
    const DDCCapabilityBadge& badge, const std::optional<DDCSnapshot>& snapshot,
    const std::optional<DDCCapabilityEntry>& entry) {
    return {"monitor-direct-control",
            "모니터 직접 조정",
            "일부 항목만 안정적으로 답했습니다. " +
                usableControlsText(snapshot, entry, "답한 항목만 제한적으로 사용할 수 있습니다."),
            Status::limited,
            badge.detail,
            {openSectionAction("가능한 항목 보기")}};
}

QuorvaneSupportCapabilityRow QuorvaneDisplaySupportSummaryBuilder::ddcCapabilityRow(
    const DisplaySnapshot& display, const DDCCapabilityBadge& badge,
    const std::optional<DDCSnapshot>& snapshot, const std::optional<DDCCapabilityEntry>& entry,
    bool isDDCBusy) {
    QuorvaneSupportCapabilityRow row{"monitor-direct-control", "모니터 직접 조정", "",
                                     Status::needsCheck,       badge.detail,       {}};
    if (display.isBuiltin) {
        row.detail = "내장 화면은 이 경로 대신 시스템 밝기 조정을 사용합니다.";
        row.status = Status::unavailable;
        row.technicalDetail = "Built-in display skips direct monitor control probing";
        row.actions = {{Kind::probeDDC, "외장 모니터에서만 확인", std::nullopt, false,
                        "내장 화면은 직접 조정 확인 대상이 아닙니다."}};
        return row;
    }
    switch (badge.kind) {
        case DDCCapabilityBadgeKind::unchecked:
            row.detail =
                "아직 확인하지 않았습니다. 확인 전에는 모니터 안의 값이 바뀌는 버튼을 숨깁니다.";
            row.actions = {probeAction(!isDDCBusy, "직접 조정 확인")};
            return row;
        case DDCCapabilityBadgeKind::checking:
            row.detail =
                "모니터가 답하는지 확인 중입니다. 케이블이나 허브에 따라 몇 초 걸릴 수 있습니다.";
            row.status = Status::checking;
            row.actions = {probeAction(false, "확인 중…", "이미 확인 중입니다.")};
            return row;
        case DDCCapabilityBadgeKind::confirmed:
            if (isPartiallyConfirmed(snapshot, entry))
                return partialConfirmedDDCRow(badge, snapshot, entry);
            row.detail =
                "이 모니터가 답한 항목만 보여줍니다. 모니터 밝기·대비는 버튼을 눌렀을 때만 "
                "바뀝니다.";
            row.status = Status::available;
            row.actions = {openSectionAction("직접 조정 열기")};
            return row;
        case DDCCapabilityBadgeKind::unstable:
            return limitedDDCRow(badge, snapshot, entry);
        case DDCCapabilityBadgeKind::unsupported:
            row.detail =
                "이 연결에서는 Quorvane이 모니터 값을 직접 바꿀 방법을 찾지 못했습니다. 앱 색감과 "
                "프리셋은 계속 사용할 수 있습니다.";
            row.status = Status::unavailable;
            row.actions = {{Kind::readOnlyChecklist, "케이블·허브·모니터 메뉴 확인",
                            "모니터 메뉴의 외부 제어가 꺼져 있거나 허브가 신호를 막을 수 있습니다.",
                            false, "아래 순서를 확인한 뒤 필요하면 다시 시도하세요."},
                           probeAction(!isDDCBusy, "다시 확인")};
            return row;
        case DDCCapabilityBadgeKind::recheckNeeded:
            break;
    }
    row.detail =
        "예전 확인 결과가 지금 연결과 다를 수 있습니다. 다시 확인하기 전에는 직접 조정을 "
        "숨깁니다.";
    row.actions = {probeAction(!isDDCBusy, "다시 확인")};
    return row;
}

std::vector<std::string> QuorvaneDisplaySupportSummaryBuilder::technicalDetails(
    const DisplaySnapshot& display, const DDCCapabilityBadge& badge,
    const std::optional<DDCSnapshot>& snapshot, const std::optional<DDCCapabilityEntry>& entry,
    const std::optional<DisplayColorProfileState>& colorProfileState) {
    std::vector<std::string> lines;
    lines.push_back("현재 화면: " + display.name);
    lines.push_back("현재 모드: " +
                    (display.currentMode
                         ? display.currentMode->label()
                         : std::string("시스템이 현재 해상도 정보를 제공하지 않음")));
    lines.push_back(std::string("모니터 구분: ") + (DisplayIdentity::of(display).hasReliableSerial
                                                        ? "안정적으로 구분 가능"
                                                        : "고유 번호 없음"));
    lines.push_back("모니터 기능 확인: " + std::string(badgeKindText(badge.kind)));
    if (badge.detail && !badge.detail->empty())
        lines.push_back("상태 설명: " + *badge.detail);
    if (snapshot) {
        const auto answered = labelsOfKeys(snapshot->values);
        const auto silent = labelsOfKeys(snapshot->unsupported);
        lines.push_back("확인된 모니터 설정: " +
                        (answered.empty() ? std::string("없음") : joined(answered, ", ")));
        lines.push_back("응답 없는 모니터 설정: " +
                        (silent.empty() ? std::string("없음") : joined(silent, ", ")));
        if (snapshot->lastError)
            lines.push_back("마지막 확인 결과: " + *snapshot->lastError);
    }
    if (entry) {
        lines.push_back("저장된 확인 결과: 가능 " + countText(entry->supportedRecords().size()) +
                        "개, 재확인 필요 " + countText(entry->unstableRecords().size()) + "개");
    }
    if (colorProfileState) {
        const bool available =
            colorProfileState->availability == DisplayColorProfileState::Availability::available;
        lines.push_back(std::string("색상 기준 정보: ") + (available ? "읽음" : "읽지 못함"));
        lines.push_back("읽은 색상 기준: " + countText(colorProfileState->profiles.size()) + "개");
    }
    return lines;
}

QuorvaneDisplaySupportSummary QuorvaneDisplaySupportSummaryBuilder::summary(
    const DisplaySnapshot& display, const DDCCapabilityBadge& badge,
    const std::optional<DDCSnapshot>& snapshot, const std::optional<DDCCapabilityEntry>& entry,
    bool isDDCBusy, const std::optional<DisplayColorProfileState>& colorProfileState,
    const std::optional<DisplayIdentityDescriptor>& descriptor) {
    auto ddcRow = ddcCapabilityRow(display, badge, snapshot, entry, isDDCBusy);
    auto profileRow = colorProfileCapabilityRow(colorProfileState);
    auto identityRow = identityCapabilityRow(display, descriptor);

    QuorvaneDisplaySupportSummary summary;
    summary.displayID = display.id;
    if (descriptor)
        summary.title = descriptor->alias && !descriptor->alias->empty() ? *descriptor->alias
                                                                         : descriptor->displayName;
    else
        summary.title = display.name;
    summary.subtitle = display.isBuiltin ? "내장 디스플레이" : "외장 디스플레이";
    if (display.isBuiltin)
        summary.overallStatus = Status::available;
    else
        summary.overallStatus =
            ddcRow.status == Status::unavailable ? Status::limited : ddcRow.status;
    summary.overallMessage = overallMessage(summary.overallStatus, display, ddcRow);
    summary.wizardSteps = wizardSteps(display, ddcRow, profileRow, identityRow);
    summary.technicalDetails = technicalDetails(display, badge, snapshot, entry, colorProfileState);
    summary.hasReliableSerial = DisplayIdentity::of(display).hasReliableSerial;
    summary.capabilities = {softwareCapabilityRow(), hardwareBrightnessCapabilityRow(display),
                            std::move(ddcRow), std::move(profileRow), std::move(identityRow)};
    return summary;
}

}  // namespace quorvane
