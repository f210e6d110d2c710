#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "models/settings/quorvane_settings_import_display_mapping.hpp"
#include "services/persistence/quorvane_settings_transition.hpp"

namespace quorvane {
namespace {

using Mapping = QuorvaneSettingsImportDisplayMapping;
using Transition = QuorvaneSettingsTransition;
using Error = QuorvaneSettingsTransitionError;
using Mode = QuorvaneSettingsImportMode;

std::string raw(int vendor, int model, int serial) {
    return "vendor-" + std::to_string(vendor) + "-model-" + std::to_string(model) + "-serial-" +
           std::to_string(serial) + "-external";
}

DisplaySnapshot display(DisplayID id, int vendor, int model, int serial, double x) {
    DisplaySnapshot snapshot;
    snapshot.id = id;
    snapshot.name = "Monitor";
    snapshot.vendorNumber = static_cast<std::uint32_t>(vendor);
    snapshot.modelNumber = static_cast<std::uint32_t>(model);
    snapshot.serialNumber = static_cast<std::uint32_t>(serial);
    snapshot.bounds = {x, 0, 1920, 1080};
    return snapshot;
}

Mapping mapping(std::string imported, std::optional<std::string> target) {
    return {std::move(imported), std::move(target), std::nullopt, std::nullopt};
}

Error errorOf(const std::vector<Mapping>& mappings, const std::set<std::string>& unsafe) {
    try {
        Transition::validateImportTargets(mappings, unsafe);
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "targets accepted";
    return Error(Error::Kind::emptyPresetName);
}

ColorAdjustment warmth(double value) {
    ColorAdjustment adjustment;
    adjustment.warmth = value;
    return adjustment;
}

TEST(SettingsImportDisplayLabel, VendorAndModelOrAShortenedValue) {
    EXPECT_EQ(QuorvaneSettingsImportDisplayAdjustment::displayLabel(raw(1552, 41000, 7)),
              "저장된 디스플레이 1552/41000");
    EXPECT_EQ(QuorvaneSettingsImportDisplayAdjustment::displayLabel(std::string(40, 'a')),
              std::string(33, 'a') + "…");
    EXPECT_EQ(QuorvaneSettingsImportDisplayAdjustment::displayLabel(std::string(36, 'b')),
              std::string(36, 'b'));
    // Characters, not bytes: 36 decomposed Hangul syllables stay whole.
    std::string hangul;
    for (int i = 0; i < 36; ++i)
        hangul += "\u1100\u1161";
    EXPECT_EQ(QuorvaneSettingsImportDisplayAdjustment::displayLabel(hangul), hangul);
}

TEST(SettingsTransition, DuplicatesAreFoundBeforeAmbiguity) {
    const std::vector<Mapping> mappings = {mapping("a", raw(2, 2, 2)), mapping("b", ""),
                                           mapping("c", raw(1, 1, 1)), mapping("d", std::nullopt),
                                           mapping("e", raw(2, 2, 2)), mapping("f", raw(1, 1, 1)),
                                           mapping("g", raw(1, 1, 1)), mapping("h", "")};
    EXPECT_EQ(Transition::duplicateImportTargetIdentityRawValues(mappings),
              (std::vector<std::string>{raw(1, 1, 1), raw(2, 2, 2)}));
    EXPECT_EQ(errorOf(mappings, {raw(2, 2, 2)}).description(),
              "같은 디스플레이가 두 번 선택되었습니다: 저장된 디스플레이 1/1");

    // A shared target is refused only while it is shared.
    const std::vector<Mapping> single = {mapping("a", std::nullopt), mapping("b", raw(3, 4, 5))};
    EXPECT_EQ(errorOf(single, {raw(3, 4, 5)}).description(),
              "구분이 불확실한 디스플레이에는 자동으로 연결할 수 없습니다: 저장된 디스플레이 3/4");
    EXPECT_NO_THROW(Transition::validateImportTargets(single, {}));
}

TEST(SettingsTransition, DefaultMappingsProposeOnlyTheSameUnsharedIdentity) {
    QuorvanePreferences file;
    file.displayAdjustments[raw(1, 1, 1)] = warmth(0.1);  // visible once
    file.displayAdjustments[raw(2, 2, 2)] = warmth(0.2);  // visible twice
    file.displayAdjustments[raw(9, 9, 9)] = warmth(0.9);  // not here
    file.displayAliasesByKey[raw(1, 1, 1)] = "  왼쪽  ";
    file.displayAliasesByKey[raw(9, 9, 9)] = " \n ";
    const auto draft = QuorvaneSettingsImportDraft::of(file);
    const std::vector<DisplaySnapshot> visible = {
        display(10, 1, 1, 1, 0), display(11, 2, 2, 2, 1920), display(12, 2, 2, 2, 3840)};

    const auto mappings = Mapping::defaultMappings(draft, visible);
    ASSERT_EQ(mappings.size(), 3u);
    EXPECT_EQ(mappings[0], (Mapping{raw(1, 1, 1), raw(1, 1, 1), raw(1, 1, 1), raw(1, 1, 1)}));
    EXPECT_EQ(mappings[1], mapping(raw(2, 2, 2), std::nullopt));
    EXPECT_EQ(mappings[2], mapping(raw(9, 9, 9), std::nullopt));  // blank alias not marked
}

class ImportTest : public ::testing::Test {
  protected:
    QuorvanePreferences current;
    QuorvanePreferences file;

    void SetUp() override {
        current.displayAdjustments["local"] = warmth(-0.5);
        current.displayAliasesByKey["local-key"] = "책상";
        current.lastSelectedDisplayIdentity = "local";
        current.urlPresetAutomationEnabled = true;
        current.sceneHotKeysEnabled = true;
        current.emergencyRecoveryHotKeyEnabled = false;
        current.emergencyRecoveryHotKeyCombination =
            HotKeyCombination(15, "R", {HotKeyModifier::command, HotKeyModifier::option});

        file.schemaVersion = 4;
        file.autoApplyEnabled = false;
        file.displayAdjustments[raw(1, 1, 1)] = warmth(0.1);
        file.displayAdjustments[raw(2, 2, 2)] = warmth(0.2);
        file.displayAliasesByKey[raw(1, 1, 1)] = " 왼쪽\n";
        file.displayAliasesByKey["alias-of-two"] = "오른쪽";
        file.lastSelectedDisplayIdentity = raw(2, 2, 2);
        DisplayGroup group;
        group.id = "G";
        group.name = "Desk";
        file.customDisplayGroups = {group};
        file.brightnessSyncGroupID = "G";
    }

    QuorvanePreferences import(Mode mode, const std::vector<Mapping>& mappings,
                               bool switchSelection) {
        return Transition::importedPreferences(current, QuorvaneSettingsImportDraft::of(file), mode,
                                               mappings, switchSelection, {});
    }
};

TEST_F(ImportTest, FullModeReKeysValuesAliasesAndSelection) {
    const std::vector<Mapping> mappings = {
        {raw(1, 1, 1), "here-1", std::nullopt, "here-1-alias"},
        {raw(2, 2, 2), "here-2", "alias-of-two", std::nullopt},
    };
    const auto result = import(Mode::fullWithDisplayMapping, mappings, true);
    EXPECT_EQ(result.displayAdjustments, (std::map<std::string, ColorAdjustment>{
                                             {"here-1", warmth(0.1)}, {"here-2", warmth(0.2)}}));
    EXPECT_EQ(result.displayAliasesByKey,
              (std::map<std::string, std::string>{{"here-1-alias", "왼쪽"}, {"here-2", "오른쪽"}}));
    EXPECT_EQ(result.lastSelectedDisplayIdentity, "here-2");
    EXPECT_EQ(import(Mode::fullWithDisplayMapping, mappings, false).lastSelectedDisplayIdentity,
              "local");

    const auto skipped =
        import(Mode::fullWithDisplayMapping,
               {mapping(raw(1, 1, 1), std::nullopt), mapping(raw(2, 2, 2), "")}, true);
    EXPECT_TRUE(skipped.displayAdjustments.empty() && skipped.displayAliasesByKey.empty());
    EXPECT_EQ(skipped.lastSelectedDisplayIdentity, "local");
}

TEST_F(ImportTest, GlobalOnlyKeepsPerDisplayStateAndIgnoresMappings) {
    const std::vector<Mapping> invalid = {mapping(raw(1, 1, 1), "x"), mapping(raw(2, 2, 2), "x")};
    const auto result = import(Mode::globalOnly, invalid, true);
    EXPECT_EQ(result.displayAdjustments, current.displayAdjustments);
    EXPECT_EQ(result.displayAliasesByKey, current.displayAliasesByKey);
    EXPECT_EQ(result.lastSelectedDisplayIdentity, current.lastSelectedDisplayIdentity);
    EXPECT_THROW(import(Mode::fullWithDisplayMapping, invalid, true), Error);
}

TEST_F(ImportTest, LocalSwitchesStayAndCommonSettingsComeFromTheFile) {
    const auto result = import(Mode::globalOnly, {}, false);
    EXPECT_TRUE(result.urlPresetAutomationEnabled && result.sceneHotKeysEnabled);
    EXPECT_FALSE(result.emergencyRecoveryHotKeyEnabled);
    EXPECT_EQ(result.emergencyRecoveryHotKeyCombination,
              current.emergencyRecoveryHotKeyCombination);
    EXPECT_FALSE(result.autoApplyEnabled);
    EXPECT_EQ(result.customDisplayGroups, file.customDisplayGroups);
    EXPECT_EQ(result.schemaVersion, 1);
    EXPECT_EQ(result.brightnessSyncGroupID, "G");

    file.brightnessSyncGroupID = "not-in-file";
    EXPECT_FALSE(import(Mode::globalOnly, {}, false).brightnessSyncGroupID);
}

TEST_F(ImportTest, BindingsOnTheLocalEmergencyChordAreDisabled) {
    const auto chord = current.emergencyRecoveryHotKeyCombination;
    HotKeyCombination otherLabel = chord;
    otherLabel.keyLabel = "r";
    file.sceneHotKeyBindings = {{"same", "s1", true, chord},
                                {"label", "s2", true, otherLabel},
                                {"off", "s3", false, chord}};
    const auto bindings = import(Mode::globalOnly, {}, false).sceneHotKeyBindings;
    ASSERT_EQ(bindings.size(), 3u);
    EXPECT_FALSE(bindings[0].enabled);
    EXPECT_TRUE(bindings[1].enabled);
    EXPECT_FALSE(bindings[2].enabled);
    EXPECT_EQ(bindings[0].combination, chord);
}

}  // namespace
}  // namespace quorvane
