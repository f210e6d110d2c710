#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "models/coding/number_format.hpp"
#include "services/persistence/quorvane_change_plan_builder.hpp"

namespace quorvane {
namespace {

using Builder = QuorvaneChangePlanBuilder;
using Mapping = QuorvaneSettingsImportDisplayMapping;
using Mode = QuorvaneSettingsImportMode;
using Local = QuorvaneLocalHotKeyImportState;

const std::string kFirst = "vendor-1552-model-41000-serial-7-external";
const std::string kSecond = "vendor-16-model-9-serial-1-builtin";

QuorvaneSettingsImportDraft draftWith(const std::vector<std::string>& identities) {
    QuorvanePreferences preferences;
    for (const auto& identity : identities)
        preferences.displayAdjustments[identity] = {};
    preferences.lastSelectedDisplayIdentity = kFirst;
    return QuorvaneSettingsImportDraft::of(preferences);
}

std::vector<std::string> idsOf(const QuorvaneChangePlan& plan) {
    std::vector<std::string> ids;
    for (const auto& entry : plan.entries)
        ids.push_back(entry.id);
    return ids;
}

TEST(ChangePlanBuilder, FullPlanListsEveryDisplayValueLinkedOrSkipped) {
    const auto draft = draftWith({kFirst, kSecond});
    const std::vector<Mapping> mappings = {{kFirst, "here", std::nullopt, std::nullopt}};
    const auto plan =
        Builder::settingsImportPlan(draft, Mode::fullWithDisplayMapping, mappings, {}, true);

    EXPECT_EQ(plan.summary,
              "공통 설정을 가져오고 화면별 색상값 1개를 연결합니다. 1개는 건너뜁니다.");
    // Draft order is by identity raw value ("vendor-1552" sorts before "vendor-16").
    EXPECT_EQ(idsOf(plan), (std::vector<std::string>{"settings-common", "display-mapping-summary",
                                                     "display-" + kFirst, "display-" + kSecond,
                                                     "selected-display"}));
    EXPECT_EQ(plan.entries[1].afterValue, "1개 연결 · 1개 건너뜀");

    const auto& skipped = plan.entries[3];  // no mapping at all
    EXPECT_EQ(skipped.title, "가져온 색상값 건너뛰기");
    EXPECT_EQ(skipped.targetLabel, "건너뛰기");
    EXPECT_FALSE(skipped.targetIdentityRawValue);
    EXPECT_EQ(skipped.beforeValue, "저장된 디스플레이 16/9");
    EXPECT_EQ(skipped.afterValue, "이 컴퓨터에 저장하지 않음");

    const auto& linked = plan.entries[2];
    EXPECT_EQ(linked.title, "가져온 색상값 연결");
    EXPECT_EQ(linked.targetLabel, "here");
    EXPECT_EQ(linked.beforeValue, "저장된 디스플레이 1552/41000");

    const auto& selection = plan.entries[4];
    EXPECT_EQ(selection.title, "선택 디스플레이 이동");
    EXPECT_EQ(selection.targetIdentityRawValue, "here");
}

TEST(ChangePlanBuilder, CountsNeverGoNegativeAndEmptyDraftsHaveNoDisplayEntries) {
    const auto empty = draftWith({});
    const std::vector<Mapping> extra = {{"a", "x", {}, {}}, {"b", "y", {}, {}}};
    EXPECT_EQ(Builder::displayMappingSummaryEntry(empty, {}).afterValue, "0개 연결 · 0개 건너뜀");
    EXPECT_TRUE(Builder::displayMappingEntries(empty, extra).empty());
    EXPECT_EQ(Builder::displayMappingSummaryEntry(draftWith({kFirst}), extra).afterValue,
              "2개 연결 · 0개 건너뜀");
    EXPECT_EQ(Builder::mappedTargets(
                  {{"a", "", {}, {}}, {"b", std::nullopt, {}, {}}, {"c", "z", {}, {}}}),
              (std::vector<std::string>{"z"}));
}

TEST(ChangePlanBuilder, SelectionStaysWithoutTheSwitchOrAMappedTarget) {
    const auto draft = draftWith({kFirst});
    const std::vector<Mapping> mapped = {{kFirst, "here", {}, {}}};
    const auto kept = Builder::selectionEntry(draft, mapped, false);
    EXPECT_EQ(kept.title, "선택 디스플레이 유지");
    EXPECT_EQ(kept.targetLabel, "현재 선택 유지");
    EXPECT_EQ(kept.afterValue, "변경 없음");
    EXPECT_FALSE(Builder::selectedMappedTarget(draft, {{kFirst, "", {}, {}}}, true));
    EXPECT_EQ(Builder::selectedMappedTarget(draft, mapped, true), "here");
}

TEST(ChangePlanBuilder, GlobalOnlyPlanKeepsPerDisplayState) {
    const auto draft = draftWith({kFirst, kSecond});
    const auto plan = Builder::settingsImportPlan(draft, Mode::globalOnly, {}, {}, true);
    EXPECT_EQ(plan.summary,
              "공통 설정만 가져오고 이 컴퓨터의 화면별 색상값과 선택 디스플레이는 유지합니다.");
    EXPECT_EQ(idsOf(plan), (std::vector<std::string>{"settings-common", "global-only-display-state",
                                                     "global-only-selection"}));
    EXPECT_EQ(plan.entries[0].title, "공통 설정만 가져오기");
    EXPECT_EQ(plan.entries[1].afterValue, "가져온 2개 화면별 색상값은 적용하지 않음");
}

TEST(ChangePlanBuilder, HotKeyLinesFollowTheLocalState) {
    QuorvanePreferences file;
    file.sceneHotKeysEnabled = true;
    file.sceneHotKeyBindings[0].enabled = false;
    const auto summary = QuorvaneSettingsImportSummary::of(file);
    const std::string counts =
        formatDecimal(static_cast<int>(file.sceneHotKeyBindings.size()) - 1) + "/" +
        formatDecimal(static_cast<int>(file.sceneHotKeyBindings.size()));

    EXPECT_EQ(Builder::sceneHotKeyImportSummary(summary, {}),
              "작업 모드 단축키 파일 값 켜짐 · " + counts + "개 사용 · 로컬 켜짐 상태 유지");
    EXPECT_EQ(Builder::sceneHotKeyImportSummary(summary, Local{false, {}, {}}),
              "작업 모드 단축키 파일 값 켜짐 · " + counts +
                  "개 사용 · 로컬 꺼짐 유지 · 파일이 켤 수 없음");
    EXPECT_EQ(Builder::emergencyHotKeyImportSummary(summary, {}),
              "비상 복구 단축키 파일 값 켜짐 Super+Shift+L · 로컬 비상 단축키 유지");
    EXPECT_EQ(Builder::emergencyHotKeyImportSummary(summary, Local{{}, true, {}}),
              "비상 복구 단축키 파일 값 켜짐 Super+Shift+L · 로컬 켜짐 유지 · 충돌 예약");
    EXPECT_EQ(Builder::emergencyHotKeyImportSummary(summary, Local{{}, true, "Ctrl+K"}),
              "비상 복구 단축키 파일 값 켜짐 Super+Shift+L · 로컬 Ctrl+K 유지 · 충돌 예약");
    EXPECT_EQ(Builder::emergencyHotKeyImportSummary(summary, Local{{}, false, "Ctrl+K"}),
              "비상 복구 단축키 파일 값 켜짐 Super+Shift+L · 로컬 꺼짐 유지");
}

TEST(ChangePlanBuilder, ImportedSettingsSummaryJoinsNineParts) {
    QuorvanePreferences file;
    file.urlPresetAutomationEnabled = true;
    file.customPresets.resize(2);
    const auto summary = QuorvaneSettingsImportSummary::of(file);
    const std::string text = Builder::importedSettingsSummary(summary, {});
    EXPECT_EQ(text, "프리셋 2개 · 작업 모드 0개 · 모니터 묶음 0개 · " +
                        Builder::sceneHotKeyImportSummary(summary, {}) + " · " +
                        Builder::emergencyHotKeyImportSummary(summary, {}) +
                        " · 자동 적용 켜짐 · URL 프리셋 자동화 파일 값 켜짐 · 가져오지 않음 · 화면 "
                        "색감 보정 켜짐 · 밝기 동기화 꺼짐");
}

}  // namespace
}  // namespace quorvane
