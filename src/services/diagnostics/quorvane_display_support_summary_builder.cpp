#include "services/diagnostics/quorvane_display_support_summary_builder.hpp"

#include <algorithm>
#include <functional>

#include "models/coding/number_format.hpp"
#include "models/display/display_identity.hpp"

namespace quorvane {

namespace {

using Status = QuorvaneSupportStatus;
using Kind = QuorvaneSupportActionKind;

constexpr const char* kProbeActionDetail = "모니터가 답하는지만 확인하고, 답한 항목만 보여줍니다.";

// The first action of the row that `accepts`, in list order.
std::optional<QuorvaneSupportAction> firstAction(
    const QuorvaneSupportCapabilityRow& row,
    const std::function<bool(const QuorvaneSupportAction&)>& accepts) {
    const auto found = std::find_if(row.actions.begin(), row.actions.end(), accepts);
    if (found == row.actions.end())
        return std::nullopt;
    return *found;
}

std::function<bool(const QuorvaneSupportAction&)> ofKind(std::initializer_list<Kind> kinds) {
    const std::vector<Kind> accepted(kinds);
    return [accepted](const QuorvaneSupportAction& action) {
        return std::find(accepted.begin(), accepted.end(), action.kind) != accepted.end();
    };
}

bool anyAction(const QuorvaneSupportAction&) {
    return true;
}

QuorvaneSupportWizardStep directControlStep(const DisplaySnapshot& display,
                                            const QuorvaneSupportCapabilityRow& row) {
    switch (row.status) {
        case Status::available:
        case Status::limited:
            return {"direct-control-open", "2. 확인된 모니터 설정만 여세요", row.detail, row.status,
                    firstAction(row, ofKind({Kind::openHardwareSection}))};
        case Status::needsCheck:
            return {"direct-control-check", "2. 모니터 값을 직접 바꾸기 전 확인하세요",
                    "지금은 응답 여부만 봅니다. 답한 항목만 나중에 버튼으로 보여줍니다.",
                    Status::needsCheck, firstAction(row, ofKind({Kind::probeDDC}))};
        case Status::checking:
            return {"direct-control-checking", "2. 확인이 진행 중입니다",
                    "끝나면 쓸 수 있는 항목만 남깁니다.", Status::checking,
                    firstAction(row, anyAction)};
        case Status::unavailable:
            return {"direct-control-unavailable",
                    display.isBuiltin ? "2. 내장 화면은 시스템 밝기를 씁니다"
                                      : "2. 직접 조정이 안 보일 때 확인할 것",
                    row.detail, Status::unavailable,
                    firstAction(row, ofKind({Kind::readOnlyChecklist, Kind::probeDDC}))};
        case Status::explicitAdvanced:
        case Status::informational:
            break;
    }
    return {"direct-control-info", "2. 모니터 직접 조정 상태를 확인하세요", row.detail, row.status,
            firstAction(row, anyAction)};
}

}  // namespace

QuorvaneSupportAction QuorvaneDisplaySupportSummaryBuilder::softwareStartAction() {
    return {Kind::readOnlyChecklist, "먼저 여기서 시작",
            "이 디스플레이의 화면 색감 조정으로 이동합니다.", true, std::nullopt};
}

QuorvaneSupportAction QuorvaneDisplaySupportSummaryBuilder::reportAction() {
    return {Kind::openSettingsDiagnostics, "설정 > 지원에서 리포트 미리보기",
            "공유하기 전에 내용을 확인하는 리포트는 설정 창에서 만들 수 있습니다.", false,
            "이 화면은 안내만 표시합니다. 파일 생성은 설정 창에서 명시적으로 실행하세요."};
}

QuorvaneSupportAction QuorvaneDisplaySupportSummaryBuilder::probeAction(
    bool isEnabled, std::string title, std::optional<std::string> disabledReason) {
    if (!disabledReason && !isEnabled)
        disabledReason = "잠시 후 다시 시도하세요.";
    return {Kind::probeDDC, std::move(title), kProbeActionDetail, isEnabled,
            std::move(disabledReason)};
}

QuorvaneSupportCapabilityRow QuorvaneDisplaySupportSummaryBuilder::colorProfileCapabilityRow(
    const std::optional<DisplayColorProfileState>& state) {
    QuorvaneSupportCapabilityRow row{"color-profile",       "색상 기준",  "",
                                     Status::informational, std::nullopt, {reportAction()}};
    if (!state) {
        row.detail = "아직 시스템 색상 기준을 읽지 못했습니다. 기본 색감 조정에는 없어도 됩니다.";
        return row;
    }
    if (state->availability == DisplayColorProfileState::Availability::unavailable) {
        row.detail = state->message.value_or("이 디스플레이의 색상 기준 정보를 읽지 못했습니다.");
        row.status = Status::unavailable;
        row.technicalDetail = "ICC unavailable";
        return row;
    }
    const auto current = state->currentProfile();
    row.detail = "시스템 색상 기준을 읽었습니다. 현재: " +
                 (current ? current->displayName() : std::string("현재 프로파일")) +
                 ". 처음에는 바꾸지 않아도 됩니다.";
    row.status = Status::available;
    row.technicalDetail =
        "ICC profiles: " + formatDecimal(static_cast<std::uint64_t>(state->profiles.size()));
    return row;
}

QuorvaneSupportCapabilityRow QuorvaneDisplaySupportSummaryBuilder::identityCapabilityRow(
    const DisplaySnapshot& display, const std::optional<DisplayIdentityDescriptor>& descriptor) {
    QuorvaneSupportCapabilityRow row{"display-identity",    "화면 구분",  "",
                                     Status::informational, std::nullopt, {}};
    const auto confidence =
        descriptor ? descriptor->confidence : DisplayIdentityConfidence::reliable;
    if (confidence == DisplayIdentityConfidence::ambiguous) {
        row.detail = descriptor->reason +
                     " 별칭은 화면 이름표일 뿐이며, 구분 불확실 상태를 안전하다고 바꾸지 "
                     "않습니다. 자동 적용과 가져오기 대상 지정은 계속 막아 둡니다.";
        row.status = Status::limited;
        row.technicalDetail = "Ambiguous display identity";
        return row;
    }
    if (confidence == DisplayIdentityConfidence::serialMissing) {
        row.detail = descriptor->reason +
                     " 이 화면을 직접 눈으로 확인한 뒤 별칭을 붙이면 알아보기 쉬워지지만, "
                     "별칭은 이름표라서 새 신뢰 증거로 쓰지 않습니다.";
        row.technicalDetail = "Reliable serial missing";
        return row;
    }
    if (DisplayIdentity::of(display).hasReliableSerial) {
        row.detail = "시스템이 이 모니터를 비교적 안정적으로 구분할 수 있습니다.";
        row.technicalDetail = "Reliable serial present";
    } else {
        row.detail =
            "시스템이 고유 번호를 제공하지 않습니다. 같은 모델 여러 대를 쓰면 저장값이 헷갈릴 수 "
            "있습니다.";
        row.technicalDetail = "Reliable serial missing";
    }
    return row;
}

QuorvaneSupportCapabilityRow QuorvaneDisplaySupportSummaryBuilder::softwareCapabilityRow() {
    return {"software-color",
            "앱 색감 조정",
            "모니터 버튼은 건드리지 않고 이 컴퓨터 화면에만 색을 덧입힙니다. 언제든 끌 수 "
            "있습니다.",
            Status::available,
            std::nullopt,
            {softwareStartAction()}};
}

QuorvaneSupportCapabilityRow QuorvaneDisplaySupportSummaryBuilder::hardwareBrightnessCapabilityRow(
    const DisplaySnapshot& display) {
    QuorvaneSupportCapabilityRow row{"native-brightness", "시스템 밝기", "",
                                     Status::available,   std::nullopt,  {}};
    if (display.hardwareBrightness) {
        row.detail = "키보드 밝기처럼 시스템이 이 화면 밝기를 직접 다룰 수 있습니다.";
        row.technicalDetail = "Native brightness path available";
        return row;
    }
    row.technicalDetail = "Native brightness path unavailable";
    if (display.isBuiltin) {
        row.detail = "지금은 시스템에서 밝기 값을 받지 못했습니다.";
        row.status = Status::unavailable;
    } else {
        row.detail = "외장 모니터 밝기는 아래의 직접 조정 확인이 필요할 수 있습니다.";
        row.status = Status::informational;
    }
    return row;
}

QuorvaneSupportWizardStep QuorvaneDisplaySupportSummaryBuilder::identityWizardStep(
    const QuorvaneSupportCapabilityRow& identityCapability) {
    const std::string note = identityCapability.technicalDetail.value_or("");
    std::string title = "3. 이 화면을 안정적으로 구분하는지 확인하세요";
    if (note == "Ambiguous display identity")
        title = "3. 같은 모니터가 헷갈리면 자동 적용은 막아 둡니다";
    else if (note == "Reliable serial missing")
        title = "3. 화면을 직접 눈으로 확인하고 별칭은 이름표로만 쓰세요";
    return {"identity-note", std::move(title), identityCapability.detail, identityCapability.status,
            std::nullopt};
}

std::vector<QuorvaneSupportWizardStep> QuorvaneDisplaySupportSummaryBuilder::wizardSteps(
    const DisplaySnapshot& display, const QuorvaneSupportCapabilityRow& ddcCapability,
    const QuorvaneSupportCapabilityRow& profileCapability,
    const QuorvaneSupportCapabilityRow& identityCapability) {
    std::vector<QuorvaneSupportWizardStep> steps;
    steps.push_back({"software-first", "1. 먼저 앱 색감부터 바꿔보세요",
                     "모니터 안의 값을 바꾸지 않아 되돌리기 쉽습니다.", Status::available,
                     softwareStartAction()});
    steps.push_back(directControlStep(display, ddcCapability));
    steps.push_back(identityWizardStep(identityCapability));
    steps.push_back(
        {"diagnostic-report", "4. 그래도 이상하면 리포트를 미리 보세요",
         "공유하기 전에 내용을 확인할 수 있습니다. 고유 번호와 내부 식별값은 기본으로 "
         "가립니다. 이 화면에서는 파일을 만들지 않습니다.",
         profileCapability.status == Status::unavailable ? Status::limited : Status::informational,
         reportAction()});
    return steps;
}

std::string QuorvaneDisplaySupportSummaryBuilder::overallMessage(
    QuorvaneSupportStatus status, const DisplaySnapshot& display,
    const QuorvaneSupportCapabilityRow& ddcCapability) {
    switch (status) {
        case Status::available:
            return display.isBuiltin ? "앱 색감 조정과 시스템 밝기 조정을 바로 쓸 수 있습니다."
                                     : "앱 색감 조정과 확인된 모니터 직접 조정을 쓸 수 있습니다.";
        case Status::needsCheck:
            return "앱 색감은 바로 쓸 수 있습니다. 모니터 값을 직접 바꾸는 기능은 확인 뒤에만 "
                   "보여줍니다.";
        case Status::checking:
            return "확인 중입니다. 끝날 때까지 모니터 값을 바꾸는 버튼은 숨깁니다.";
        case Status::limited:
            return ddcCapability.status == Status::unavailable
                       ? "앱 색감은 가능하지만, 이 연결에서는 모니터 직접 조정이 제한됩니다."
                       : "일부 모니터 설정만 확인되었습니다. 가능한 항목만 사용하세요.";
        case Status::unavailable:
            return "이 연결에서는 Quorvane이 직접 바꿀 수 있는 모니터 설정을 찾지 못했습니다.";
        case Status::explicitAdvanced:
            return "고급 조정은 사용자가 직접 열 때만 보입니다.";
        case Status::informational:
            break;
    }
    return "지금 연결 상태를 쉽게 확인할 수 있습니다.";
}

}  // namespace quorvane
