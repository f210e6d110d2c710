#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "presentation/import_sheet/settings_import_sheet_model.hpp"
#include "presentation/import_sheet/settings_import_sheet_texts.hpp"
#include "presentation/settings/settings_import_entry.hpp"

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

// The warnings and the notice under the mapping rows, each exactly while
// its condition holds, in a full import only.
TEST(SettingsImportSheetTextsTest, EachMappingNoticeShowsExactlyWhileItsConditionHolds) {
    using Kind = ImportMappingNoticeKind;
    const ImportMappingNotice duplicate{
        Kind::duplicateTarget, "exclamationmark.triangle", ColorRole::systemOrange,
        "같은 현재 디스플레이를 두 줄 이상에 선택했습니다. 한 디스플레이에는 하나의 저장 "
        "색상값만 연결할 수 있어요."};
    const auto lookAlike = [](int count) {
        return ImportMappingNotice{
            Kind::lookAlike, "info.circle", ColorRole::secondary,
            "동일하게 보이는 모니터 " + std::to_string(count) +
                "개는 가져오기 대상에서 제외했습니다. 별칭은 이름표일 뿐 자동 매핑 증거가 "
                "아니므로, 잘못된 화면에 설정이 붙지 않게 먼저 눈으로 구분을 확인하세요."};
    };
    const ImportMappingNotice invalid{
        Kind::invalidTarget, "exclamationmark.triangle", ColorRole::systemOrange,
        "구분이 불확실한 디스플레이가 선택되어 가져올 수 없습니다. 해당 줄은 건너뛰기로 "
        "바꿔주세요."};
    using Notices = std::vector<ImportMappingNotice>;

    const auto studio = externalDisplay(1, "Studio", 1001);
    const auto side = externalDisplay(2, "Side", 2002, 1920);
    auto preferences = QuorvanePreferences::defaults();
    for (const auto* display : {&studio, &side})
        preferences.displayAdjustments[rawIdentity(*display)].warmth = 0.1;
    preferences.displayAdjustments["elsewhere"].warmth = 0.1;
    const auto draft = QuorvaneSettingsImportDraft::of(preferences);
    SettingsImportSheetModel sheet(draft, {studio, side}, {}, {});
    EXPECT_EQ(importMappingNotices(sheet), Notices{});

    sheet.setTarget("elsewhere", rawIdentity(studio));
    EXPECT_EQ(importMappingNotices(sheet), Notices{duplicate});
    sheet.setTarget("elsewhere", "never-connected");
    EXPECT_EQ(importMappingNotices(sheet), Notices{invalid});
    sheet.setTarget("elsewhere", std::string(kSkipImportTarget));
    EXPECT_EQ(importMappingNotices(sheet), Notices{});

    // Look-alikes count identities, not monitors: two pairs are 2.
    auto desk = identicalTwins(3, 4);
    SettingsImportSheetModel twins(draft, {studio, side, desk[0], desk[1]}, {}, {});
    EXPECT_EQ(importMappingNotices(twins), Notices{lookAlike(1)});
    auto other = identicalTwins(5, 6);
    for (auto& monitor : other)
        monitor.modelNumber += 1;
    desk.insert(desk.end(), other.begin(), other.end());
    desk.push_back(studio);
    SettingsImportSheetModel pairs(draft, desk, {}, {});
    EXPECT_EQ(importMappingNotices(pairs), Notices{lookAlike(2)});

    // All three at once, in the order shown; none in a common-only import.
    pairs.setTarget(rawIdentity(side), rawIdentity(studio));
    pairs.setTarget("elsewhere", rawIdentity(desk[0]));
    EXPECT_EQ(importMappingNotices(pairs), (Notices{duplicate, lookAlike(2), invalid}));
    pairs.setMode(Mode::globalOnly);
    EXPECT_EQ(importMappingNotices(pairs), Notices{});
    pairs.setMode(Mode::fullWithDisplayMapping);
    EXPECT_EQ(importMappingNotices(pairs).size(), 3u);
}

// Both descriptions speak of this computer as the rest of the import does
// ("이 컴퓨터 설정", "이 컴퓨터에 저장하지 않음").
TEST(SettingsImportSheetTextsTest, TheModeDescriptionsSpeakOfThisComputer) {
    EXPECT_EQ(importModeDescription(Mode::globalOnly),
              "프리셋과 작업 모드 단축키 바인딩 등 공통 설정만 가져오되 단축키 켜짐 상태와 비상 "
              "복구 단축키는 이 컴퓨터의 로컬 설정을 유지합니다. 이 컴퓨터의 화면별 색상값과 "
              "선택 디스플레이는 그대로 둡니다.");
    EXPECT_EQ(importModeDescription(Mode::fullWithDisplayMapping),
              "프리셋과 작업 모드 단축키 바인딩을 가져오되 단축키 켜짐 상태와 비상 복구 단축키는 "
              "이 컴퓨터의 로컬 설정을 유지합니다. 화면별 색상값은 아래에서 고른 현재 "
              "디스플레이에만 연결합니다.");
}

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

// Each badge carries its classification's symbol, whatever the case: an
// entry outside the import's usual classes shows which symbol belongs to
// which label, and the comparison rows leave the risk out.
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
