#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "cli/cli_fakes.hpp"
#include "cli/quorvane_bootstrap.hpp"
#include "models/display_identity.hpp"
#include "models/quorvane_change_plan.hpp"

namespace quorvane {
namespace {

using testing::CLIHarness;
using ::testing::HasSubstr;
using testing::makeDisplay;

// --- process entry ---------------------------------------------------------

struct Dispatched {
    std::string mode;
    std::vector<std::string> arguments;
};

Dispatched dispatch(std::vector<std::string> arguments) {
    Dispatched seen;
    const auto status = QuorvaneBootstrap::dispatch(
        std::move(arguments),
        [&](const std::vector<std::string>& rest) {
            seen = {"cli", rest};
            return 7;
        },
        [&] {
            seen = {"app", {}};
            return 9;
        });
    EXPECT_EQ(status, seen.mode == "cli" ? 7 : 9);
    return seen;
}

TEST(QuorvaneBootstrap, OnlyAnExactCliInFirstPlaceSelectsTheCommandLine) {
    using V = std::vector<std::string>;
    EXPECT_EQ(dispatch({}).mode, "app");
    EXPECT_EQ(dispatch({"/bin/q"}).mode, "app");
    EXPECT_EQ(dispatch({"/bin/q", "--"}).mode, "app");
    EXPECT_EQ(dispatch({"/bin/q", "--", "--", "cli"}).mode, "app");
    EXPECT_EQ(dispatch({"/bin/q", "CLI"}).mode, "app");
    EXPECT_EQ(dispatch({"/bin/q", "list", "cli"}).mode, "app");
    EXPECT_EQ(dispatch({"/bin/q", "-psn_0_1234", "cli"}).mode, "app");

    EXPECT_EQ(dispatch({"/bin/q", "cli"}).arguments, V{});
    EXPECT_EQ(dispatch({"/bin/q", "--", "cli", "list", "presets"}).arguments,
              (V{"list", "presets"}));
    EXPECT_EQ(dispatch({"/bin/q", "cli", "--", "list"}).arguments, (V{"--", "list"}));
}

// --- option grammar --------------------------------------------------------

TEST(QuorvaneCLIOptions, ValuesAreTakenWhateverTheyLookLike) {
    const auto parsed = QuorvaneCLI::parseOptions({"--display", "--json", "x", "-h", "--nope"});
    EXPECT_EQ(parsed.options.display, "--json");
    EXPECT_FALSE(parsed.options.json);
    EXPECT_EQ(parsed.positionals, (std::vector<std::string>{"x", "-h"}));
    EXPECT_EQ(parsed.unknown, (std::vector<std::string>{"--nope"}));

    const auto later = QuorvaneCLI::parseOptions({"--display", "1", "--display", "2", "--"});
    EXPECT_EQ(later.options.display, "2");
    EXPECT_EQ(later.unknown, (std::vector<std::string>{"--"}));
}

TEST(QuorvaneCLIOptions, ASecondFileAndMissingValuesAreReportedAsUnknown) {
    const auto twice = QuorvaneCLI::parseOptions({"--file", "a", "--file", "b"});
    EXPECT_EQ(twice.options.file, "a");
    EXPECT_EQ(twice.unknown, (std::vector<std::string>{"--file"}));
    EXPECT_EQ(twice.positionals, (std::vector<std::string>{"b"}));

    const auto trailing = QuorvaneCLI::parseOptions({"x", "--json", "--display"});
    EXPECT_TRUE(trailing.options.json);
    EXPECT_EQ(trailing.unknown, (std::vector<std::string>{"--display requires a value"}));

    const auto noFile = QuorvaneCLI::parseOptions({"--file"});
    EXPECT_EQ(noFile.unknown, (std::vector<std::string>{"--file requires a value"}));
}

// --- runner ----------------------------------------------------------------

TEST(QuorvaneCLIRunner, UsageGoesToStandardErrorWithoutArgumentsAndToStandardOutputOnHelp) {
    CLIHarness harness;
    EXPECT_EQ(QuorvaneCLI::usageText().size(), 743u);
    EXPECT_EQ(harness.run({}), 1);
    EXPECT_EQ(harness.err, QuorvaneCLI::usageText() + "\n");
    EXPECT_EQ(harness.out, "");

    EXPECT_EQ(harness.run({"help", "--json"}), 0);
    EXPECT_EQ(harness.out, QuorvaneCLI::usageText());
    EXPECT_EQ(harness.err, "");
}

TEST(QuorvaneCLIRunner, UnknownCommandsAreUsageErrorsInTextOrJson) {
    CLIHarness harness;
    EXPECT_EQ(harness.run({"LIST", "presets"}), 1);
    EXPECT_EQ(harness.err, "알 수 없는 CLI 명령입니다: LIST\n\n" + QuorvaneCLI::usageText() + "\n");

    EXPECT_EQ(harness.run({"--json", "list", "presets"}), 1);
    EXPECT_EQ(harness.out, "");
    const auto error = parseJson(harness.err);
    EXPECT_EQ(error["error"], true);
    EXPECT_EQ(error["exitCode"], 1);
    EXPECT_EQ(error["schemaVersion"], 1);
    EXPECT_EQ(error["message"], "알 수 없는 CLI 명령입니다: --json\n\n" + QuorvaneCLI::usageText());
    EXPECT_EQ(harness.err.back(), '\n');
}

TEST(QuorvaneCLIRunner, ANumberWithoutJsonSpellingFailsWithStatusThreeAndNothingOnStandardOutput) {
    CLIHarness harness;
    harness.displays->displays = {makeDisplay(1, "Panel", 7, true, true)};
    harness.brightness->values[1] = std::numeric_limits<double>::quiet_NaN();

    EXPECT_EQ(harness.run({"list", "displays", "--json"}), 3);
    EXPECT_EQ(harness.out, "");
    EXPECT_THAT(harness.err, HasSubstr("JSON 출력을 만들지 못했습니다: "));
    EXPECT_EQ(harness.err.find('{'), std::string::npos);  // plain text, also in JSON mode

    // The text form never shows the brightness.
    EXPECT_EQ(harness.run({"list", "displays"}), 0);
}

// --- list and read ---------------------------------------------------------

TEST(QuorvaneCLIListRead, ArgumentRulesRunInOrder) {
    CLIHarness harness;
    EXPECT_EQ(harness.run({"list"}), 1);
    EXPECT_EQ(harness.err,
              "list 대상이 필요합니다. presets, scenes, displays 중 하나를 사용하세요.\n");
    EXPECT_EQ(harness.run({"read", "settings", "a", "b", "--bogus"}), 1);
    EXPECT_EQ(harness.err, "read 명령 인자가 너무 많습니다: a b\n");
    EXPECT_EQ(harness.run({"list", "presets", "--all-visible", "--bogus"}), 1);
    EXPECT_EQ(harness.err, "알 수 없는 옵션: --bogus\n");
    EXPECT_EQ(harness.run({"list", "presets", "--all-visible"}), 1);
    EXPECT_EQ(harness.err,
              "list 명령에서는 --display/--all-visible/--file 옵션을 사용할 수 없습니다.\n");
    EXPECT_EQ(harness.run({"read", "presets"}), 1);
    EXPECT_EQ(harness.err, "알 수 없는 read 대상입니다: presets\n");
}

TEST(QuorvaneCLIListRead, DiagnosticsNumberTheDisplaysAndNeverNameThem) {
    CLIHarness harness;
    harness.displays->displays = {makeDisplay(10, "Studio", 0), makeDisplay(11, "Panel", 3)};
    harness.brightness->values[11] = 0.5;

    EXPECT_EQ(harness.run({"read", "diagnostics", "--json"}), 0);
    const auto result = parseJson(harness.out)["result"];
    EXPECT_EQ(result["type"], "diagnostics");
    const auto displays = result["diagnostics"]["displays"];
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[0]["title"], "Display 1");
    EXPECT_EQ(displays[1]["name"], "Display 2");
    EXPECT_EQ(displays[0]["hasReliableSerial"], false);
    EXPECT_EQ(displays[1]["hasReliableSerial"], true);
    EXPECT_FALSE(displays[1].contains("hardwareBrightness"));
    EXPECT_EQ(harness.out.find("Studio"), std::string::npos);
    EXPECT_TRUE(harness.brightness->reads.empty());
}

// --- preset and display resolution -------------------------------------

DisplayPreset preset(std::string id, std::string name) {
    return {std::move(id), std::move(name), ColorAdjustment::neutral(), ItemKind::custom};
}

TEST(QuorvaneCLIResolve, IdsMatchExactlyBeforeNamesMatchTrimmedAndCaseInsensitive) {
    const std::vector<DisplayPreset> presets = {preset("night", "Night"), preset("u1", "night"),
                                                preset("u2", "Cosy"), preset("u3", "  COSY ")};
    using K = QuorvaneCLI::PresetResolution::Kind;

    const auto byId = QuorvaneCLI::resolvePreset("night", presets);
    EXPECT_EQ(byId.kind, K::success);
    EXPECT_EQ(byId.presets[0].id, "night");

    // Not an id in this letter case, but two names agree.
    const auto byName = QuorvaneCLI::resolvePreset("NIGHT", presets);
    EXPECT_EQ(byName.kind, K::ambiguous);
    EXPECT_EQ(byName.presets.size(), 2u);

    EXPECT_EQ(QuorvaneCLI::resolvePreset(" cosy", presets).kind, K::ambiguous);
    EXPECT_EQ(QuorvaneCLI::resolvePreset(" u2", presets).kind, K::missing);
}

TEST(QuorvaneCLIResolve, IdenticalMonitorsShareAnIdentityAndOnlyTheirIdsTellThemApart) {
    auto first = makeDisplay(70, "Twin", 5);
    auto second = makeDisplay(71, "Twin", 5);
    second.modelNumber = first.modelNumber;
    const std::vector<DisplaySnapshot> displays = {first, second};
    using K = QuorvaneCLI::DisplayResolution::Kind;

    EXPECT_EQ(QuorvaneCLI::resolveDisplay("71", displays).displays[0].id, 71u);
    EXPECT_EQ(QuorvaneCLI::resolveDisplay(DisplayIdentity::of(first).rawValue, displays).kind,
              K::ambiguous);
    EXPECT_EQ(QuorvaneCLI::resolveDisplay("071", displays).kind, K::missing);
}

// --- apply-safe-preset ---------------------------------------------------

TEST(QuorvaneCLIApply, APartialFailureSavesTheDisplaysThatTookThePresetAndReturnsThree) {
    CLIHarness harness;
    harness.displays->displays = {makeDisplay(1, "Left", 11), makeDisplay(2, "Right", 12)};
    harness.gamma->failing = {2};

    EXPECT_EQ(harness.run({"apply-safe-preset", "Night"}), 3);
    EXPECT_EQ(harness.err, "Some displays failed: Right\n");
    EXPECT_EQ(harness.out, "Safe preset applied to 1 display(s); 1 failed.\n");
    const auto saved = harness.preferences->loadResult().preferences.displayAdjustments;
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved.begin()->first, DisplayIdentity::of(harness.displays->displays[0]).rawValue);
    EXPECT_EQ(saved.begin()->second, DisplayPreset::builtIns()[2].adjustment);

    EXPECT_EQ(harness.run({"apply-safe-preset", "night", "--json"}), 3);
    const auto applied = parseJson(harness.out)["result"]["applied"];
    EXPECT_EQ(applied["failed"][0]["message"], "X11 오류: 8");
    EXPECT_EQ(applied["applied"][0]["id"], 1);
}

TEST(QuorvaneCLIApply, WhenEveryDisplayFailsNothingIsSavedAndStandardOutputStaysEmpty) {
    CLIHarness harness;
    harness.displays->displays = {makeDisplay(1, "Left", 11)};
    harness.gamma->failing = {1};

    EXPECT_EQ(harness.run({"apply-safe-preset", "coding"}), 3);
    EXPECT_EQ(harness.out, "");
    EXPECT_EQ(harness.defaults->writeCount(), 0u);
}

TEST(QuorvaneCLIApply, WithCorrectionOffTheScreenStaysNeutralButThePresetIsRemembered) {
    CLIHarness harness;
    auto preferences = QuorvanePreferences::defaults();
    preferences.softwareColorCorrectionEnabled = false;
    harness.preferences->save(preferences);
    harness.displays->displays = {makeDisplay(4, "Only", 9)};

    EXPECT_EQ(harness.run({"apply-safe-preset", "movie", "--all-visible"}), 0);
    EXPECT_EQ(harness.out,
              "Safe preset saved (software color correction off; screen kept neutral): Movie (1 "
              "display(s))\n");
    EXPECT_EQ(harness.gamma->written.at(4), buildTransferTables(ColorAdjustment::neutral(), 256));
    const auto saved = harness.preferences->loadResult().preferences;
    EXPECT_EQ(saved.displayAdjustments.begin()->second, DisplayPreset::builtIns()[3].adjustment);
    EXPECT_FALSE(saved.softwareColorCorrectionEnabled);
}

TEST(QuorvaneCLIApply, ThePresetIsResolvedBeforeDisplaysAreRead) {
    CLIHarness harness;
    EXPECT_EQ(harness.run({"apply-safe-preset", "missing"}), 2);
    EXPECT_EQ(harness.err, "프리셋을 찾지 못했습니다: missing\n");
    EXPECT_EQ(harness.run({"apply-safe-preset", "neutral"}), 2);
    EXPECT_EQ(harness.err, "활성 디스플레이를 찾지 못했습니다.\n");
}

// --- JSON records ------------------------------------------------------------

QuorvaneChangePlanEntry entry(std::string id, std::optional<std::string> target) {
    QuorvaneChangePlanEntry out;
    out.id = std::move(id);
    out.title = "t";
    out.targetLabel = "label";
    out.beforeValue = "before";
    out.afterValue = "after";
    out.targetIdentityRawValue = std::move(target);
    out.recoveryNote = "r";
    out.sideEffectNote = "s";
    return out;
}

TEST(CLIResponseChangePlan, PerDisplayEntriesAreNumberedAndLoseTheImportedIdentities) {
    QuorvaneChangePlan plan{
        "p",
        "title",
        "summary",
        {entry("settings-common", std::nullopt), entry("display-mapping-summary", std::nullopt),
         entry("display-vendor-1-model-2-serial-3-external", "here"),
         entry("display-vendor-9-model-9-serial-9-external", std::nullopt),
         entry("selected-display", "here")}};
    const auto converted = CLIResponse::ChangePlan::of(plan);

    EXPECT_EQ(converted.entryCount, 5);
    EXPECT_EQ(converted.entries[1].id, "display-mapping-summary");
    EXPECT_EQ(converted.entries[1].afterValue, "after");
    EXPECT_EQ(converted.entries[2].id, "display-1");
    EXPECT_EQ(converted.entries[2].targetLabel, "현재 디스플레이 1");
    EXPECT_EQ(converted.entries[3].id, "display-2");
    EXPECT_EQ(converted.entries[3].targetLabel, "건너뛰기");
    EXPECT_EQ(converted.entries[3].beforeValue, "가져온 디스플레이 2");
    EXPECT_EQ(converted.entries[3].afterValue, "이 컴퓨터에 저장하지 않음");
    EXPECT_EQ(converted.entries[4].afterValue, "매핑된 현재 디스플레이");
    EXPECT_EQ(converted.entries[4].beforeValue, "before");

    const std::string encoded = dumpJson(converted.toJson());
    EXPECT_EQ(encoded.find("vendor-"), std::string::npos);
    EXPECT_EQ(encoded.find("here"), std::string::npos);
}

TEST(CLIResponseEnvelope, TheApplyCaseIsNamedAfterTheCommandAndKeepsEmptyLists) {
    CLIResponse response{
        1, "apply-safe-preset",
        CLIResponse::ApplyResult{CLIResponse::Preset::of(DisplayPreset::builtIns()[0]), {}, {}}};
    const auto json = response.toJson();
    EXPECT_EQ(json["result"]["type"], "apply-safe-preset");
    EXPECT_EQ(json["result"].size(), 2u);
    EXPECT_EQ(json["result"]["applied"]["applied"], Json::array());
    EXPECT_EQ(json["result"]["applied"]["failed"], Json::array());
    EXPECT_EQ(json["result"]["applied"]["preset"]["adjustment"].size(), 11u);
}

}  // namespace
}  // namespace quorvane
