#include "services/persistence/quorvane_change_plan_builder.hpp"

#include <map>

#include "models/coding/number_format.hpp"
#include "models/settings/quorvane_settings_import_display_adjustment.hpp"
#include "services/persistence/quorvane_settings_transition.hpp"

namespace quorvane {

namespace {

using Mapping = QuorvaneSettingsImportDisplayMapping;
using Builder = QuorvaneChangePlanBuilder;

constexpr std::string_view kSeparator = " · ";

std::string onOff(bool on) {
    return on ? "켜짐" : "꺼짐";
}
std::string fileValue(bool on) {
    return on ? "파일 값 켜짐" : "파일 값 꺼짐";
}
std::string labelOf(const std::string& identity) {
    return QuorvaneSettingsImportDisplayAdjustment::displayLabel(identity);
}

// Points the entry at the display the imported values go to.
void pointAtTarget(QuorvaneChangePlanEntry& entry, const std::string& target) {
    entry.targetLabel = labelOf(target);
    entry.targetIdentityRawValue = target;
    entry.afterValue = labelOf(target);
}

const std::string* presentTarget(const std::optional<std::string>& target) {
    return target && !target->empty() ? &*target : nullptr;
}

// Every entry an import plan holds changes settings only, safely, and waits
// for the user's confirmation.
QuorvaneChangePlanEntry settingsEntry(std::string id, std::string title) {
    QuorvaneChangePlanEntry entry;
    entry.id = std::move(id);
    entry.title = std::move(title);
    entry.controlPath = QuorvaneChangePlanControlPath::settings;
    entry.risk = QuorvaneChangePlanRisk::safe;
    entry.sideEffectPolicy = QuorvaneChangePlanSideEffectPolicy::requiresConfirmation;
    return entry;
}

struct MappingCounts {
    std::size_t linked = 0;
    std::size_t skipped = 0;
};

MappingCounts countsOf(const QuorvaneSettingsImportDraft& draft,
                       const std::vector<Mapping>& mappings) {
    const std::size_t linked = Builder::mappedTargets(mappings).size();
    const std::size_t total = draft.importedDisplayAdjustments.size();
    return {linked, total > linked ? total - linked : 0};
}

std::string decimal(std::size_t value) {
    return formatDecimal(static_cast<std::uint64_t>(value));
}

}  // namespace

std::string Builder::sceneHotKeyImportSummary(const QuorvaneSettingsImportSummary& summary,
                                              const QuorvaneLocalHotKeyImportState& local) {
    std::string localPart;
    if (!local.sceneHotKeysEnabled) {
        localPart = "로컬 켜짐 상태 유지";
    } else if (*local.sceneHotKeysEnabled) {
        localPart = "로컬 켜짐 유지 · 가져온 안전한 바인딩은 활성 가능";
    } else {
        localPart = "로컬 꺼짐 유지 · 파일이 켤 수 없음";
    }
    return "작업 모드 단축키 " + fileValue(summary.sceneHotKeysEnabled) + std::string(kSeparator) +
           formatDecimal(summary.sceneHotKeyEnabledBindingCount) + "/" +
           formatDecimal(summary.sceneHotKeyBindingCount) + "개 사용" + std::string(kSeparator) +
           localPart;
}

std::string Builder::emergencyHotKeyImportSummary(const QuorvaneSettingsImportSummary& summary,
                                                  const QuorvaneLocalHotKeyImportState& local) {
    std::string localPart;
    if (!local.emergencyRecoveryHotKeyEnabled) {
        localPart = "로컬 비상 단축키 유지";
    } else if (!*local.emergencyRecoveryHotKeyEnabled) {
        localPart = "로컬 꺼짐 유지";
    } else if (local.emergencyRecoveryHotKeyLabel) {
        localPart = "로컬 " + *local.emergencyRecoveryHotKeyLabel + " 유지 · 충돌 예약";
    } else {
        localPart = "로컬 켜짐 유지 · 충돌 예약";
    }
    return "비상 복구 단축키 " + fileValue(summary.emergencyRecoveryHotKeyEnabled) + " " +
           summary.emergencyRecoveryHotKeyLabel + std::string(kSeparator) + localPart;
}

std::string Builder::importedSettingsSummary(const QuorvaneSettingsImportSummary& summary,
                                             const QuorvaneLocalHotKeyImportState& local) {
    const std::vector<std::string> parts = {
        "프리셋 " + formatDecimal(summary.customPresetCount) + "개",
        "작업 모드 " + formatDecimal(summary.customSceneCount) + "개",
        "모니터 묶음 " + formatDecimal(summary.customDisplayGroupCount) + "개",
        sceneHotKeyImportSummary(summary, local),
        emergencyHotKeyImportSummary(summary, local),
        "자동 적용 " + onOff(summary.autoApplyEnabled),
        "URL 프리셋 자동화 " + std::string(summary.urlPresetAutomationEnabled
                                               ? "파일 값 켜짐 · 가져오지 않음"
                                               : "파일 값 꺼짐 · 로컬 설정 유지"),
        "화면 색감 보정 " + onOff(summary.softwareColorCorrectionEnabled),
        "밝기 동기화 " + onOff(summary.brightnessSyncEnabled),
    };
    std::string joined;
    for (const auto& part : parts) {
        if (!joined.empty())
            joined += kSeparator;
        joined += part;
    }
    return joined;
}

std::vector<std::string> Builder::mappedTargets(const std::vector<Mapping>& mappings) {
    std::vector<std::string> targets;
    for (const auto& mapping : mappings) {
        if (const auto* target = presentTarget(mapping.targetDisplayIdentityRawValue)) {
            targets.push_back(*target);
        }
    }
    return targets;
}

QuorvaneChangePlanEntry Builder::displayMappingSummaryEntry(
    const QuorvaneSettingsImportDraft& draft, const std::vector<Mapping>& mappings) {
    const auto counts = countsOf(draft, mappings);
    auto entry = settingsEntry("display-mapping-summary", "화면별 색상값 연결");
    entry.targetLabel = "현재 연결된 디스플레이";
    entry.beforeValue = "현재 화면별 저장값";
    entry.afterValue =
        decimal(counts.linked) + "개 연결 · " + decimal(counts.skipped) + "개 건너뜀";
    entry.recoveryNote = "가져오기를 취소하면 기존 화면별 저장값은 그대로 유지됩니다.";
    entry.sideEffectNote = "모니터 밝기, DDC/CI, 색상 프로파일, 해상도 API는 호출하지 않습니다.";
    return entry;
}

std::vector<QuorvaneChangePlanEntry> Builder::displayMappingEntries(
    const QuorvaneSettingsImportDraft& draft, const std::vector<Mapping>& mappings) {
    // Mirrors what the import does: mappings without a target are ignored
    // and a later mapping for the same imported display replaces an earlier
    // one, so a repeated mapping cannot make the plan and the result differ.
    std::map<std::string, std::string> targetByImported;
    for (const auto& mapping : mappings) {
        if (const auto* target = presentTarget(mapping.targetDisplayIdentityRawValue)) {
            targetByImported[mapping.importedDisplayIdentityRawValue] = *target;
        }
    }

    std::vector<QuorvaneChangePlanEntry> entries;
    for (const auto& imported : draft.importedDisplayAdjustments) {
        const std::string& identity = imported.identityRawValue;
        const auto found = targetByImported.find(identity);
        const std::string* target = found == targetByImported.end() ? nullptr : &found->second;

        auto entry = settingsEntry("display-" + identity,
                                   target ? "가져온 색상값 연결" : "가져온 색상값 건너뛰기");
        entry.beforeValue = labelOf(identity);
        if (target) {
            pointAtTarget(entry, *target);
        } else {
            entry.targetLabel = "건너뛰기";
            entry.afterValue = "이 컴퓨터에 저장하지 않음";
        }
        entry.recoveryNote = "가져오기 전까지 기존 저장값을 바꾸지 않습니다.";
        entry.sideEffectNote = "연결 결과만 설정 파일에 저장하고 화면에는 즉시 적용하지 않습니다.";
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::optional<std::string> Builder::selectedMappedTarget(const QuorvaneSettingsImportDraft& draft,
                                                         const std::vector<Mapping>& mappings,
                                                         bool switchSelectionToMappedDisplay) {
    if (!switchSelectionToMappedDisplay)
        return std::nullopt;
    return QuorvaneSettingsTransition::mappedSelectionTarget(draft, mappings);
}

QuorvaneChangePlanEntry Builder::selectionEntry(const QuorvaneSettingsImportDraft& draft,
                                                const std::vector<Mapping>& mappings,
                                                bool switchSelectionToMappedDisplay) {
    const auto target = selectedMappedTarget(draft, mappings, switchSelectionToMappedDisplay);
    auto entry =
        settingsEntry("selected-display", target ? "선택 디스플레이 이동" : "선택 디스플레이 유지");
    entry.beforeValue = "현재 선택 디스플레이";
    if (target) {
        pointAtTarget(entry, *target);
    } else {
        entry.targetLabel = "현재 선택 유지";
        entry.afterValue = "변경 없음";
    }
    entry.recoveryNote = "선택 디스플레이만 바뀌며 화면 출력 자체는 바꾸지 않습니다.";
    entry.sideEffectNote =
        "사용자가 선택 이동을 켰고 가져온 선택 대상이 매핑된 경우에만 저장됩니다.";
    return entry;
}

std::string Builder::settingsImportSummary(const QuorvaneSettingsImportDraft& draft,
                                           QuorvaneSettingsImportMode mode,
                                           const std::vector<Mapping>& mappings) {
    if (mode == QuorvaneSettingsImportMode::globalOnly) {
        return "공통 설정만 가져오고 이 컴퓨터의 화면별 색상값과 선택 디스플레이는 유지합니다.";
    }
    const auto counts = countsOf(draft, mappings);
    return "공통 설정을 가져오고 화면별 색상값 " + decimal(counts.linked) + "개를 연결합니다. " +
           decimal(counts.skipped) + "개는 건너뜁니다.";
}

QuorvaneChangePlanEntry Builder::commonSettingsEntry(const QuorvaneSettingsImportDraft& draft,
                                                     QuorvaneSettingsImportMode mode,
                                                     const QuorvaneLocalHotKeyImportState& local) {
    auto entry = settingsEntry("settings-common", mode == QuorvaneSettingsImportMode::globalOnly
                                                      ? "공통 설정만 가져오기"
                                                      : "공통 설정 가져오기");
    entry.targetLabel = "Quorvane 설정";
    entry.beforeValue = "이 컴퓨터 설정";
    entry.afterValue =
        importedSettingsSummary(QuorvaneSettingsImportSummary::of(draft.preferences), local);
    entry.recoveryNote = "가져오기 전 내보낸 설정 파일이나 최근 설정으로 되돌릴 수 있습니다.";
    entry.sideEffectNote = "가져오기 버튼을 누르기 전에는 저장하지 않습니다.";
    return entry;
}

QuorvaneChangePlanEntry Builder::globalOnlyDisplayEntry(const QuorvaneSettingsImportDraft& draft) {
    auto entry = settingsEntry("global-only-display-state", "화면별 색상값 유지");
    entry.targetLabel = "이 컴퓨터";
    entry.beforeValue = "현재 화면별 저장값";
    entry.afterValue = "가져온 " + decimal(draft.importedDisplayAdjustments.size()) +
                       "개 화면별 색상값은 적용하지 않음";
    entry.recoveryNote = "현재 디스플레이별 조정값을 그대로 둡니다.";
    entry.sideEffectNote = "공통 설정만 저장하고 화면별 저장값은 건드리지 않습니다.";
    return entry;
}

QuorvaneChangePlanEntry Builder::globalOnlySelectionEntry() {
    auto entry = settingsEntry("global-only-selection", "선택 디스플레이 유지");
    entry.targetLabel = "현재 선택 유지";
    entry.beforeValue = "현재 선택 디스플레이";
    entry.afterValue = "변경 없음";
    entry.recoveryNote = "선택 상태를 변경하지 않습니다.";
    entry.sideEffectNote = "가져온 파일의 선택 디스플레이 정보는 이번 모드에서 무시합니다.";
    return entry;
}

QuorvaneChangePlan Builder::settingsImportPlan(const QuorvaneSettingsImportDraft& draft,
                                               QuorvaneSettingsImportMode mode,
                                               const std::vector<Mapping>& mappings,
                                               const QuorvaneLocalHotKeyImportState& local,
                                               bool switchSelectionToMappedDisplay) {
    QuorvaneChangePlan plan;
    plan.id = std::string(kSettingsImportPlanID);
    plan.title = std::string(kSettingsImportPlanTitle);
    plan.summary = settingsImportSummary(draft, mode, mappings);
    plan.entries.push_back(commonSettingsEntry(draft, mode, local));
    if (mode == QuorvaneSettingsImportMode::globalOnly) {
        plan.entries.push_back(globalOnlyDisplayEntry(draft));
        plan.entries.push_back(globalOnlySelectionEntry());
        return plan;
    }
    plan.entries.push_back(displayMappingSummaryEntry(draft, mappings));
    for (auto& entry : displayMappingEntries(draft, mappings))
        plan.entries.push_back(std::move(entry));
    plan.entries.push_back(selectionEntry(draft, mappings, switchSelectionToMappedDisplay));
    return plan;
}

}  // namespace quorvane
