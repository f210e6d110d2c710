#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "presentation/import_sheet/settings_import_sheet_model.hpp"
#include "presentation/import_sheet/settings_import_sheet_texts.hpp"

namespace quorvane::testing {
namespace {

using Mode = QuorvaneSettingsImportMode;

QuorvaneSettingsImportDraft draftWith(int displays, bool urlAutomation) {
    auto preferences = QuorvanePreferences::defaults();
    for (int index = 0; index < displays; ++index)
        preferences.displayAdjustments["display-" + std::to_string(index)].warmth = 0.1;
    preferences.urlPresetAutomationEnabled = urlAutomation;
    preferences.appearance = QuorvaneAppearance::dark;
    return QuorvaneSettingsImportDraft::of(preferences);
}

SettingsImportSheetModel sheetOf(const QuorvaneSettingsImportDraft& draft) {
    return {draft, {externalDisplay(1, "Studio", 1001)}, {}, {false, true, "Super+Shift+L"}};
}

std::vector<std::string> ids(const QuorvaneChangePlan& plan) {
    std::vector<std::string> result;
    for (const auto& entry : plan.entries)
        result.push_back(entry.id);
    return result;
}

TEST(SettingsImportSheetTextsTest, AGlobalImportPlansThreeStepsWhateverTheFileHolds) {
    auto sheet = sheetOf(draftWith(3, false));
    sheet.setSwitchSelectionToMappedDisplay(true);
    sheet.setMode(Mode::globalOnly);
    const auto plan = settingsImportChangePlan(sheet);
    EXPECT_EQ(ids(plan), (std::vector<std::string>{"settings-common", "global-only-display-state",
                                                   "global-only-selection"}));
    EXPECT_EQ(plan.entries.back().afterValue, "변경 없음");
    EXPECT_EQ(beforeAfterPreview(plan).remainder, 0);
}

TEST(SettingsImportSheetTextsTest, AFullImportPlansOneStepPerDisplayBetweenSummaryAndSelection) {
    const auto plan = settingsImportChangePlan(sheetOf(draftWith(3, false)));
    ASSERT_EQ(plan.entries.size(), 6u);
    EXPECT_EQ(plan.entries[1].id, "display-mapping-summary");
    EXPECT_EQ(plan.entries[2].id, "display-display-0");
    EXPECT_EQ(plan.entries.back().id, "selected-display");
    const auto preview = beforeAfterPreview(plan);
    EXPECT_EQ(preview.entries.size(), 4u);
    EXPECT_EQ(preview.remainder, 2);
    EXPECT_EQ(settingsImportChangePlan(sheetOf(draftWith(0, false))).entries.size(), 3u);
}

TEST(SettingsImportSheetTextsTest, TheSummaryShowsTheFilesValuesAndWhatIsNotImported) {
    const auto tiles =
        settingsImportSummaryTiles(draftWith(2, true).preferences, {false, true, "Super+Shift+L"});
    ASSERT_EQ(tiles.size(), 10u);
    EXPECT_EQ(tiles[0].value, "2개");
    EXPECT_EQ(tiles[1].value, "0개");
    EXPECT_EQ(tiles[7].value, "파일 값 켜짐 · 가져오지 않음");
    EXPECT_EQ(tiles[9].value, "다크");
    EXPECT_EQ(changePlanLabel(QuorvaneChangePlanControlPath::nativeBrightness), "시스템 밝기");
}

// Each badge carries its classification's symbol, whatever the case: an
// entry outside the import's usual classes shows which symbol belongs to
// which label, and the comparison rows leave the risk out.
// Two alike monitors share a label ("저장된 디스플레이 0/0"); their pickers
// are told apart by the identity the row shows under it.
TEST(SettingsImportSheetTextsTest, ATargetPickerIsDescribedByBothLinesOfItsRow) {
    const std::string left = "vendor-0-model-0-serial-1001";
    const std::string right = "vendor-0-model-0-serial-2002";
    EXPECT_EQ(importTargetPickerDescription(left), "저장된 디스플레이 0/0, " + left);
    EXPECT_NE(importTargetPickerDescription(left), importTargetPickerDescription(right));
    // An identity shown whole as the label is not said twice.
    EXPECT_EQ(importTargetPickerDescription("DUMMY1"), "DUMMY1");
}

TEST(SettingsImportSheetTextsTest, BadgesCarryTheirClassificationsSymbolInOrder) {
    QuorvaneChangePlanEntry entry;
    entry.controlPath = QuorvaneChangePlanControlPath::ddc;
    entry.risk = QuorvaneChangePlanRisk::hardwarePersistent;
    entry.sideEffectPolicy = QuorvaneChangePlanSideEffectPolicy::executesImmediately;
    const ChangePlanBadge path{"모니터 자체 설정", "slider.horizontal.3"};
    const ChangePlanBadge risk{"모니터에 남는 변경", "checkmark.shield"};
    const ChangePlanBadge policy{"즉시 실행", "hand.tap"};
    EXPECT_EQ(changePlanBadges(entry), (std::vector<ChangePlanBadge>{path, risk, policy}));
    EXPECT_EQ(comparisonBadges(entry), (std::vector<ChangePlanBadge>{path, policy}));
}

TEST(SettingsImportSheetTextsTest, TheComparisonArrowPointsDownOnlyWhenTheRowStacks) {
    EXPECT_EQ(comparisonArrow(FitArrangement::horizontal), (ComparisonArrow{"arrow.right", 0}));
    EXPECT_EQ(comparisonArrow(FitArrangement::vertical), (ComparisonArrow{"arrow.down", 11}));
}

}  // namespace
}  // namespace quorvane::testing
