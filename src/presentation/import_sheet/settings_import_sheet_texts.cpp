#include "presentation/import_sheet/settings_import_sheet_texts.hpp"

#include "models/coding/number_format.hpp"
#include "models/settings/quorvane_settings_import_summary.hpp"
#include "presentation/import_sheet/settings_import_sheet_model.hpp"
#include "services/persistence/quorvane_change_plan_builder.hpp"

namespace quorvane {

namespace {

constexpr std::size_t kPreviewEntries = 4;

std::string count(int value) {
    return formatDecimal(value) + "개";
}

std::string onOff(bool on) {
    return on ? "켜짐" : "꺼짐";
}

}  // namespace

std::vector<SettingsImportSummaryTile> settingsImportSummaryTiles(
    const QuorvanePreferences& imported, const QuorvaneLocalHotKeyImportState& local) {
    const auto summary = QuorvaneSettingsImportSummary::of(imported);
    using Builder = QuorvaneChangePlanBuilder;
    return {
        {"화면별 색상값", count(summary.displayAdjustmentCount)},
        {"사용자 프리셋", count(summary.customPresetCount)},
        {"작업 모드", count(summary.customSceneCount)},
        {"모니터 묶음", count(summary.customDisplayGroupCount)},
        {"작업 모드 단축키", Builder::sceneHotKeyImportSummary(summary, local)},
        {"비상 복구 단축키", Builder::emergencyHotKeyImportSummary(summary, local)},
        {"자동 적용", onOff(summary.autoApplyEnabled)},
        {"URL 프리셋 자동화", summary.urlPresetAutomationEnabled ? "파일 값 켜짐 · 가져오지 않음"
                                                                 : "파일 값 꺼짐 · 로컬 설정 유지"},
        {"화면 색감 보정", onOff(summary.softwareColorCorrectionEnabled)},
        {"화면 모드", std::string(displayName(imported.appearance))},
    };
}

std::string_view importModeSegmentLabel(QuorvaneSettingsImportMode mode) {
    return mode == QuorvaneSettingsImportMode::globalOnly ? "공통만" : "전체";
}

std::string_view importModeDescription(QuorvaneSettingsImportMode mode) {
    if (mode == QuorvaneSettingsImportMode::globalOnly) {
        return "프리셋과 작업 모드 단축키 바인딩 등 공통 설정만 가져오되 단축키 켜짐 상태와 비상 "
               "복구 단축키는 이 컴퓨터의 로컬 설정을 유지합니다. 이 컴퓨터의 화면별 색상값과 "
               "선택 디스플레이는 그대로 둡니다.";
    }
    return "프리셋과 작업 모드 단축키 바인딩을 가져오되 단축키 켜짐 상태와 비상 복구 단축키는 이 "
           "컴퓨터의 로컬 설정을 유지합니다. 화면별 색상값은 아래에서 고른 현재 디스플레이에만 "
           "연결합니다.";
}

std::vector<ImportMappingNotice> importMappingNotices(const SettingsImportSheetModel& model) {
    using Kind = ImportMappingNoticeKind;
    std::vector<ImportMappingNotice> notices;
    if (model.mode() == QuorvaneSettingsImportMode::globalOnly)
        return notices;
    if (!model.duplicateTargetIdentityRawValues().empty()) {
        notices.push_back({Kind::duplicateTarget, "exclamationmark.triangle",
                           ColorRole::systemOrange,
                           "같은 현재 디스플레이를 두 줄 이상에 선택했습니다. 한 디스플레이에는 "
                           "하나의 저장 색상값만 연결할 수 있어요."});
    }
    if (const int shared = model.sharedIdentityCount(); shared > 0) {
        notices.push_back({Kind::lookAlike, "info.circle", ColorRole::secondary,
                           "동일하게 보이는 모니터 " + formatDecimal(shared) +
                               "개는 가져오기 대상에서 제외했습니다. 별칭은 이름표일 뿐 자동 매핑 "
                               "증거가 아니므로, 잘못된 화면에 설정이 붙지 않게 먼저 눈으로 "
                               "구분을 확인하세요."});
    }
    if (!model.invalidSelectedTargetIdentityRawValues().empty()) {
        notices.push_back({Kind::invalidTarget, "exclamationmark.triangle", ColorRole::systemOrange,
                           "구분이 불확실한 디스플레이가 선택되어 가져올 수 없습니다. 해당 줄은 "
                           "건너뛰기로 바꿔주세요."});
    }
    return notices;
}

std::string_view changePlanLabel(QuorvaneChangePlanControlPath path) {
    switch (path) {
        case QuorvaneChangePlanControlPath::settings:
            return "저장 설정";
        case QuorvaneChangePlanControlPath::software:
            return "화면 색감";
        case QuorvaneChangePlanControlPath::nativeBrightness:
            return "시스템 밝기";
        case QuorvaneChangePlanControlPath::ddc:
            return "모니터 자체 설정";
        case QuorvaneChangePlanControlPath::colorProfile:
            return "색상 기준";
        case QuorvaneChangePlanControlPath::displayMode:
            return "해상도/주사율";
    }
    return {};
}

std::string_view changePlanLabel(QuorvaneChangePlanRisk risk) {
    switch (risk) {
        case QuorvaneChangePlanRisk::safe:
            return "안전";
        case QuorvaneChangePlanRisk::reversible:
            return "되돌릴 수 있음";
        case QuorvaneChangePlanRisk::hardwarePersistent:
            return "모니터에 남는 변경";
        case QuorvaneChangePlanRisk::screenLossRisk:
            return "화면을 잃을 수 있음";
    }
    return {};
}

std::string_view changePlanLabel(QuorvaneChangePlanSideEffectPolicy policy) {
    switch (policy) {
        case QuorvaneChangePlanSideEffectPolicy::previewOnly:
            return "미리보기만";
        case QuorvaneChangePlanSideEffectPolicy::requiresConfirmation:
            return "확인 후 실행";
        case QuorvaneChangePlanSideEffectPolicy::executesImmediately:
            return "즉시 실행";
    }
    return {};
}

namespace {

ChangePlanBadge badgeOf(QuorvaneChangePlanControlPath path) {
    return {changePlanLabel(path), "slider.horizontal.3"};
}

ChangePlanBadge badgeOf(QuorvaneChangePlanRisk risk) {
    return {changePlanLabel(risk), "checkmark.shield"};
}

ChangePlanBadge badgeOf(QuorvaneChangePlanSideEffectPolicy policy) {
    return {changePlanLabel(policy), "hand.tap"};
}

}  // namespace

std::vector<ChangePlanBadge> changePlanBadges(const QuorvaneChangePlanEntry& entry) {
    return {badgeOf(entry.controlPath), badgeOf(entry.risk), badgeOf(entry.sideEffectPolicy)};
}

std::vector<ChangePlanBadge> comparisonBadges(const QuorvaneChangePlanEntry& entry) {
    return {badgeOf(entry.controlPath), badgeOf(entry.sideEffectPolicy)};
}

ComparisonArrow comparisonArrow(FitArrangement arrangement) {
    if (arrangement == FitArrangement::vertical)
        return {"arrow.down", 11};
    return {"arrow.right", 0};
}

QuorvaneChangePlan settingsImportChangePlan(const SettingsImportSheetModel& model) {
    const auto confirmation = model.confirmation();
    return QuorvaneChangePlanBuilder::settingsImportPlan(
        model.draft(), confirmation.mode, confirmation.mappings, model.localHotKeyState(),
        confirmation.switchSelectionToMappedDisplay);
}

BeforeAfterPreview beforeAfterPreview(const QuorvaneChangePlan& plan) {
    BeforeAfterPreview preview;
    const std::size_t shown = std::min(plan.entries.size(), kPreviewEntries);
    preview.entries.assign(plan.entries.begin(),
                           plan.entries.begin() + static_cast<std::ptrdiff_t>(shown));
    preview.remainder = static_cast<int>(plan.entries.size() - shown);
    return preview;
}

}  // namespace quorvane
