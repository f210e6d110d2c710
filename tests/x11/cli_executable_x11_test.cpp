// The built `quorvane` executable against the test X server: the display
// commands and apply-safe-preset writing real gamma ramps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>

#include "services/persistence/quorvane_settings_document_coder.hpp"
#include "x11/cli_executable_x11_fixture.hpp"

namespace quorvane {
namespace {

using testing::ExecutableResult;
using ::testing::HasSubstr;
using testing::runQuorvane;
using testing::TemporaryHome;

using CLIExecutableX11Test = testing::CLIExecutableX11Fixture;
using testing::kOutputs;

TEST_F(CLIExecutableX11Test, ListsTheServersOutputsWithTheirSelectors) {
    const auto text = run({"list", "displays"});
    ASSERT_EQ(text.status, 0) << text.err;
    const auto ids = selectors();
    const auto first = lit("DUMMY0");
    EXPECT_THAT(text.out, HasSubstr("\n- " + std::to_string(first.id) +
                                    " · DUMMY0 · Main · selector: " + ids.at("DUMMY0") + "\n"));

    const auto json = parseJson(run({"read", "displays", "--json"}).out);
    EXPECT_EQ(json["command"], "list displays");
    const auto items = json["result"]["items"];
    ASSERT_EQ(items.size(), 3u);
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i]["id"], lit(kOutputs[i]).id);
        EXPECT_EQ(items[i]["isMain"], i == 0);
        EXPECT_FALSE(items[i].contains("hardwareBrightness"));  // no backlight on these
    }

    // Diagnostics count the displays without naming them.
    const auto diagnostics = parseJson(run({"read", "diagnostics", "--json"}).out);
    EXPECT_EQ(diagnostics["result"]["diagnostics"]["displayCount"], 3);
    EXPECT_EQ(dumpJson(diagnostics).find("DUMMY"), std::string::npos);
}

TEST_F(CLIExecutableX11Test, ApplyWritesEveryRampAndSavesThePresetPerDisplay) {
    const auto result = run({"apply-safe-preset", "Night"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Safe preset applied: Night (3 display(s))\n");
    for (const auto& name : kOutputs)
        EXPECT_EQ(ramp(name), expectedRamp(night(), name)) << name;

    const auto saved = savedAdjustments();
    ASSERT_EQ(saved.size(), 3u);
    for (const auto& [name, selector] : selectors())
        EXPECT_EQ(saved.at(selector), night()) << name;

    // The same preset again leaves the same saved state.
    const auto before = home.preferencesText();
    EXPECT_EQ(run({"apply-safe-preset", "night", "--all-visible"}).status, 0);
    EXPECT_EQ(home.preferencesText(), before);
}

TEST_F(CLIExecutableX11Test, DisplaySelectorsTakeTheIdOrTheIdentityRawValue) {
    const auto second = lit("DUMMY1");
    const auto byId =
        run({"apply-safe-preset", "night", "--display", std::to_string(second.id), "--json"});
    ASSERT_EQ(byId.status, 0) << byId.err;
    const auto applied = parseJson(byId.out)["result"]["applied"];
    ASSERT_EQ(applied["applied"].size(), 1u);
    EXPECT_EQ(applied["applied"][0]["id"], second.id);
    EXPECT_EQ(applied["failed"], Json::array());
    EXPECT_EQ(ramp("DUMMY1"), expectedRamp(night(), "DUMMY1"));
    EXPECT_EQ(ramp("DUMMY0"), expectedRamp(ColorAdjustment::neutral(), "DUMMY0"));

    const auto coding = DisplayPreset::builtIns()[1].adjustment;
    const auto selector = selectors().at("DUMMY2");
    EXPECT_EQ(run({"apply-safe-preset", "coding", "--display", selector}).status, 0);
    EXPECT_EQ(ramp("DUMMY2"), expectedRamp(coding, "DUMMY2"));
    EXPECT_EQ(ramp("DUMMY1"), expectedRamp(night(), "DUMMY1"));
    EXPECT_EQ(savedAdjustments().size(), 2u);

    const auto missing = run({"apply-safe-preset", "coding", "--display", "4294967295"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "디스플레이를 찾지 못했습니다: 4294967295\n");
}

TEST_F(CLIExecutableX11Test, WithCorrectionOffTheRampsStayNeutralAndThePresetIsStillSaved) {
    QuorvanePreferences preferences;
    preferences.softwareColorCorrectionEnabled = false;
    home.writePreferences(*preferences.encoded());

    const auto result = run({"apply-safe-preset", "night", "--all-visible"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "Safe preset saved (software color correction off; screen kept neutral): Night (3 "
              "display(s))\n");
    // The screen stays neutral on every output, yet each display's record
    // holds the preset itself: turning the correction on shows it.
    for (const auto& name : kOutputs)
        EXPECT_EQ(ramp(name), expectedRamp(ColorAdjustment::neutral(), name)) << name;
    const auto saved = savedAdjustments();
    ASSERT_EQ(saved.size(), 3u);
    for (const auto& [name, selector] : selectors())
        EXPECT_EQ(saved.at(selector), night()) << name;
    ASSERT_NE(night(), ColorAdjustment::neutral());
    // The switch itself stays as the user left it.
    EXPECT_FALSE(
        QuorvanePreferences::decoded(*home.preferencesText()).softwareColorCorrectionEnabled);
}

TEST_F(CLIExecutableX11Test, AnImportPlanCountsTheOutputsItLinksAndTheDisplaysItSkips) {
    // A file from a desk with DUMMY0, DUMMY1 and a monitor this one lacks.
    const auto ids = selectors();
    QuorvanePreferences imported;
    imported.displayAdjustments[ids.at("DUMMY0")].warmth = 0.4;
    imported.displayAdjustments[ids.at("DUMMY1")].contrast = 1.2;
    imported.displayAdjustments["vendor-1-model-2-serial-3-external"].warmth = -0.2;
    const auto path = home.path() / "Quorvane-Settings.json";
    std::ofstream(path, std::ios::binary) << QuorvaneSettingsDocumentCoder{}.encode(
        QuorvaneSettingsDocumentCoder::exportDocument(imported, Date{}));
    const auto plan = [&] {
        const auto result = run({"preview", "import-plan", "--file", path.string(), "--json"});
        EXPECT_EQ(result.status, 0) << result.err;
        return parseJson(result.out)["result"]["changePlan"];
    };
    const auto titles = [](const Json& entries) {
        std::map<std::string, int> counted;
        for (const auto& entry : entries)
            ++counted[entry["title"].get<std::string>()];
        return counted;
    };

    auto shown = plan();
    EXPECT_EQ(shown["summary"],
              "공통 설정을 가져오고 화면별 색상값 2개를 연결합니다. 1개는 건너뜁니다.");
    EXPECT_EQ(shown["entries"][1]["id"], "display-mapping-summary");
    EXPECT_EQ(shown["entries"][1]["afterValue"], "2개 연결 · 1개 건너뜀");
    EXPECT_EQ(titles(shown["entries"])["가져온 색상값 연결"], 2);
    EXPECT_EQ(titles(shown["entries"])["가져온 색상값 건너뛰기"], 1);
    const auto text = run({"preview", "import-plan", "--file", path.string()});
    EXPECT_THAT(text.out,
                HasSubstr("\n- 공통 설정을 가져오고 화면별 색상값 2개를 연결합니다. 1개는 "
                          "건너뜁니다.\n- entries: 6\n"));

    // With DUMMY1 switched off, its values have nowhere to go either.
    SwitchedOff off{*this, *output("DUMMY1", true)};
    switchOutput(off.output, false);
    shown = plan();
    EXPECT_EQ(shown["summary"],
              "공통 설정을 가져오고 화면별 색상값 1개를 연결합니다. 2개는 건너뜁니다.");
    EXPECT_EQ(shown["entries"][1]["afterValue"], "1개 연결 · 2개 건너뜀");
    EXPECT_EQ(titles(shown["entries"])["가져온 색상값 건너뛰기"], 2);
    EXPECT_FALSE(home.preferencesText());
}

TEST_F(CLIExecutableX11Test, ApplyWithEveryOutputSwitchedOffIsNotFoundAndChangesNothing) {
    std::vector<std::unique_ptr<SwitchedOff>> off;
    for (const auto& name : kOutputs) {
        auto lit = output(name, true);
        ASSERT_TRUE(lit) << name;
        off.push_back(std::make_unique<SwitchedOff>(*this, *lit));
        switchOutput(*lit, false);
    }
    // The server answers; it just has no active output.
    const auto text = run({"apply-safe-preset", "night"});
    EXPECT_EQ(text.status, 2);
    EXPECT_EQ(text.err, "활성 디스플레이를 찾지 못했습니다.\n");
    EXPECT_EQ(text.out, "");

    const auto json = run({"apply-safe-preset", "night", "--all-visible", "--json"});
    EXPECT_EQ(json.status, 2);
    EXPECT_EQ(json.out, "");
    const auto envelope = parseJson(json.err);
    EXPECT_EQ(envelope["exitCode"], 2);
    EXPECT_EQ(envelope["message"], "활성 디스플레이를 찾지 못했습니다.");
    EXPECT_FALSE(home.preferencesText());

    // An unknown preset is still reported as such.
    const auto unknown = run({"apply-safe-preset", "nowhere"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "프리셋을 찾지 못했습니다: nowhere\n");
}

}  // namespace
}  // namespace quorvane
