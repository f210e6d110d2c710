#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/display/display_identity_descriptor.hpp"
#include "presentation/import_sheet/settings_import_sheet_model.hpp"
#include "presentation/settings/settings_import_entry.hpp"

namespace quorvane::testing {
namespace {

using Mode = QuorvaneSettingsImportMode;
const std::string kSkip(kSkipImportTarget);

// A desk with a studio monitor, a side monitor and two identical twins; the
// file holds values for the studio, the side monitor, the twins' identity
// and a monitor this computer never saw.
class SettingsImportSheetModelTest : public ::testing::Test {
  protected:
    SettingsImportSheetModel model(std::vector<DisplaySnapshot> displays,
                                   SettingsImportSheetModel::Aliases aliases = {}) const {
        return SettingsImportSheetModel(draft, std::move(displays), std::move(aliases),
                                        {false, true, "Super+Shift+L"});
    }
    static QuorvaneSettingsImportDraft makeDraft(const std::vector<std::string>& identities) {
        auto preferences = QuorvanePreferences::defaults();
        for (const auto& identity : identities)
            preferences.displayAdjustments[identity].warmth = 0.2;
        return QuorvaneSettingsImportDraft::of(preferences);
    }

    DisplaySnapshot studio = externalDisplay(1, "Studio", 1001);
    DisplaySnapshot side = externalDisplay(2, "Side", 2002, 1920);
    std::vector<DisplaySnapshot> twins = identicalTwins(3, 4);
    QuorvaneSettingsImportDraft draft =
        makeDraft({rawIdentity(studio), rawIdentity(side), rawIdentity(twins[0]), "elsewhere"});
};

TEST_F(SettingsImportSheetModelTest, OnlySafeIdentitiesStartLinkedAndTwinsAreNeverOffered) {
    auto sheet = model({studio, side, twins[0], twins[1]});
    EXPECT_EQ(sheet.target(rawIdentity(studio)), rawIdentity(studio));
    EXPECT_EQ(sheet.target(rawIdentity(twins[0])), kSkip);
    EXPECT_EQ(sheet.target("elsewhere"), kSkip);
    EXPECT_EQ(sheet.target("never-in-the-file"), kSkip);
    const auto targets = sheet.visibleImportTargets();
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[0].identityRawValue, rawIdentity(studio));
    EXPECT_EQ(sheet.sharedIdentityCount(), 1);
    EXPECT_EQ(sheet.mappedDisplayCount(), 2);
    EXPECT_TRUE(sheet.canConfirm());
}

TEST_F(SettingsImportSheetModelTest, PickerLabelsUseTheAliasAsTypedAndSayHowSureTheyAre) {
    const auto key = DisplayIdentityDescriptorBuilder::aliasKey(studio);
    auto serialLess = externalDisplay(5, "Plain", 0, 3840);
    const auto blankKey = DisplayIdentityDescriptorBuilder::aliasKey(side);
    auto sheet = model({studio, side, serialLess}, {{key, "  내 책상  "}, {blankKey, "   "}});
    const auto targets = sheet.visibleImportTargets();
    ASSERT_EQ(targets.size(), 3u);
    EXPECT_EQ(targets[0].pickerLabel, "  내 책상   · 확실");
    EXPECT_EQ(targets[1].pickerLabel, "Side · 확실");
    EXPECT_EQ(targets[2].pickerLabel, "Plain · 주의");
}

TEST_F(SettingsImportSheetModelTest, OneTargetPickedTwiceBlocksAFullImportButNotAGlobalOne) {
    auto sheet = model({studio, side});
    sheet.setSwitchSelectionToMappedDisplay(true);
    sheet.setTarget(rawIdentity(side), rawIdentity(studio));
    EXPECT_EQ(sheet.duplicateTargetIdentityRawValues(), std::set{rawIdentity(studio)});
    EXPECT_TRUE(sheet.isDuplicateRow(rawIdentity(side)));
    EXPECT_FALSE(sheet.isDuplicateRow("elsewhere"));
    EXPECT_EQ(sheet.mappedDisplayCount(), 1);
    EXPECT_FALSE(sheet.canConfirm());

    sheet.setMode(Mode::globalOnly);
    EXPECT_TRUE(sheet.canConfirm());
    EXPECT_EQ(sheet.mappedDisplayCount(), 0);
    EXPECT_FALSE(sheet.isDuplicateRow(rawIdentity(side)));
    const auto confirmation = sheet.confirmation();
    EXPECT_FALSE(confirmation.switchSelectionToMappedDisplay);
    EXPECT_EQ(confirmation.mappings.size(), 4u);

    // Back to a full import: the choices and the switch were kept.
    sheet.setMode(Mode::fullWithDisplayMapping);
    EXPECT_EQ(sheet.target(rawIdentity(side)), rawIdentity(studio));
    EXPECT_TRUE(sheet.switchSelectionToMappedDisplay());
    EXPECT_FALSE(sheet.canConfirm());
}

TEST_F(SettingsImportSheetModelTest, SkippingEverythingMayBeConfirmedAndTheSkipNeverLeaves) {
    auto sheet = model({studio, side});
    sheet.setTarget(rawIdentity(studio), kSkip);
    sheet.setTarget(rawIdentity(side), kSkip);
    EXPECT_TRUE(sheet.canConfirm());
    EXPECT_EQ(sheet.mappedDisplayCount(), 0);
    for (const auto& mapping : sheet.confirmedMappings())
        EXPECT_FALSE(mapping.targetDisplayIdentityRawValue.has_value());
    EXPECT_TRUE(sheet.invalidSelectedTargetIdentityRawValues().empty());
    EXPECT_TRUE(sheet.duplicateTargetIdentityRawValues().empty());
}

// The displays are the sheet's from its opening; a target that is not one
// of them, or that two of them share, is not safe and blocks a full import.
TEST_F(SettingsImportSheetModelTest, ATargetNotSafelyConnectedBlocksImport) {
    auto sheet = model({studio, side, twins[0], twins[1]});
    sheet.setTarget(rawIdentity(side), kSkip);
    sheet.setTarget("elsewhere", rawIdentity(side));
    EXPECT_TRUE(sheet.canConfirm());

    sheet.setTarget("elsewhere", "never-connected");
    EXPECT_EQ(sheet.invalidSelectedTargetIdentityRawValues(),
              std::set<std::string>{"never-connected"});
    EXPECT_FALSE(sheet.canConfirm());
    sheet.setTarget("elsewhere", rawIdentity(twins[0]));
    EXPECT_EQ(sheet.invalidSelectedTargetIdentityRawValues(), std::set{rawIdentity(twins[0])});
    EXPECT_FALSE(sheet.canConfirm());
    sheet.setMode(Mode::globalOnly);
    EXPECT_TRUE(sheet.canConfirm());
}

TEST_F(SettingsImportSheetModelTest, AliasKeysComeFromTheFileUnderTheRawIdentityAndFromTheTarget) {
    auto preferences = draft.preferences;
    preferences.displayAliasesByKey[rawIdentity(studio)] = "작업용";
    preferences.displayAliasesByKey[rawIdentity(side)] = " \n ";
    draft = QuorvaneSettingsImportDraft::of(preferences);
    auto sheet = model({studio, side});
    const auto mappings = sheet.confirmedMappings();
    ASSERT_EQ(mappings.size(), 4u);
    const auto byIdentity = [&](const std::string& identity) {
        return *std::find_if(mappings.begin(), mappings.end(), [&](const auto& mapping) {
            return mapping.importedDisplayIdentityRawValue == identity;
        });
    };
    EXPECT_EQ(byIdentity(rawIdentity(studio)).importedDisplayAliasKey, rawIdentity(studio));
    EXPECT_FALSE(byIdentity(rawIdentity(side)).importedDisplayAliasKey.has_value());
    EXPECT_EQ(byIdentity(rawIdentity(studio)).targetDisplayAliasKey,
              DisplayIdentityDescriptorBuilder::aliasKey(studio));
    EXPECT_FALSE(byIdentity("elsewhere").targetDisplayAliasKey.has_value());
}

TEST_F(SettingsImportSheetModelTest, TheSelectionSwitchNeedsAFullImportOfAFileThatNamesASelection) {
    auto sheet = model({studio});
    EXPECT_FALSE(sheet.selectionSwitchEnabled());
    auto preferences = draft.preferences;
    preferences.lastSelectedDisplayIdentity = rawIdentity(studio);
    draft = QuorvaneSettingsImportDraft::of(preferences);
    auto named = model({studio});
    EXPECT_TRUE(named.selectionSwitchEnabled());
    named.setMode(Mode::globalOnly);
    EXPECT_FALSE(named.selectionSwitchEnabled());
}

TEST_F(SettingsImportSheetModelTest, AFileWithoutDisplayValuesConfirmsInBothModes) {
    draft = makeDraft({});
    auto sheet = model({studio});
    EXPECT_TRUE(sheet.confirmedMappings().empty());
    EXPECT_EQ(sheet.mappedDisplayCount(), 0);
    EXPECT_TRUE(sheet.canConfirm());
    sheet.setMode(Mode::globalOnly);
    EXPECT_TRUE(sheet.canConfirm());
}

}  // namespace
}  // namespace quorvane::testing
