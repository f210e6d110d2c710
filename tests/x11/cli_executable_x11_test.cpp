// The built `quorvane` executable against the test X server: the display
// commands and apply-safe-preset writing real gamma ramps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

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
    EXPECT_EQ(ramp("DUMMY0"), expectedRamp(ColorAdjustment::neutral(), "DUMMY0"));
    EXPECT_EQ(savedAdjustments().size(), 3u);
}

}  // namespace
}  // namespace quorvane
