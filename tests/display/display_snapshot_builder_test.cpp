#include "services/display/display_snapshot_builder.hpp"

#include <gtest/gtest.h>

#include "platform/simulated/simulated_brightness_controller.hpp"
#include "platform/simulated/simulated_display_manager.hpp"
#include "services/display/cli_display_snapshot_provider.hpp"

namespace quorvane {
namespace {

DisplayModeSnapshot mode(std::int32_t id, int width, int height, bool current) {
    return DisplayModeSnapshot::make({id, width, height, width, height, 60}, current);
}

DisplaySnapshot display(DisplayID id, double x, bool isMain) {
    DisplaySnapshot snapshot;
    snapshot.id = id;
    snapshot.vendorNumber = 4268;
    snapshot.modelNumber = 41154;
    snapshot.serialNumber = id * 11;
    snapshot.isMain = isMain;
    snapshot.bounds = {x, 0, 1920, 1080};
    snapshot.modes = {mode(1, 1920, 1080, true), mode(2, 1280, 720, false)};
    snapshot.currentMode = snapshot.modes.front();
    return snapshot;
}

class DisplaySnapshotBuilderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        manager->setDisplays({display(1, 0, true), display(2, 1920, false)});
        brightness->setValue(1, 0.6);
    }

    // What the store would have published from an earlier full read, with
    // modes that differ from the system's so re-use is visible.
    std::vector<DisplaySnapshot> previous() {
        auto displays = builder.fullDisplaySnapshots(names);
        for (auto& snapshot : displays) {
            snapshot.modes = {mode(9, 800, 600, true)};
            snapshot.currentMode = snapshot.modes.front();
            snapshot.hardwareBrightness = 0.1;
        }
        return displays;
    }

    std::shared_ptr<SimulatedDisplayManager> manager = std::make_shared<SimulatedDisplayManager>();
    std::shared_ptr<SimulatedBrightnessController> brightness =
        std::make_shared<SimulatedBrightnessController>();
    DisplaySnapshotBuilder builder{manager, brightness};
    ScreenNames names{{1, "Studio Display"}, {2, "DELL U2720Q"}};
};

TEST_F(DisplaySnapshotBuilderTest, PassiveReadReusesModesOfUnchangedDisplays) {
    auto earlier = previous();
    brightness->setValue(1, 0.8);
    auto displays = builder.passiveDisplaySnapshots(earlier, names);
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[0].modes, earlier[0].modes);
    EXPECT_EQ(displays[0].currentMode, earlier[0].currentMode);
    EXPECT_EQ(displays[0].hardwareBrightness, 0.8);  // read afresh
    EXPECT_EQ(displays[1].hardwareBrightness, std::nullopt);
    EXPECT_FALSE(manager->requests().back().includeModes);
}

TEST_F(DisplaySnapshotBuilderTest, PassiveReadIgnoresMainFlagAndSubPointMoves) {
    auto earlier = previous();
    auto moved = manager->displays();
    moved[0].isMain = false;
    moved[1].isMain = true;
    moved[1].bounds.x = 1920.2;  // same integral rectangle
    moved[1].bounds.width = 1919.6;
    manager->setDisplays(moved);
    auto displays = builder.passiveDisplaySnapshots(earlier, names);
    EXPECT_EQ(displays[1].modes, earlier[1].modes);
    EXPECT_TRUE(displays[1].isMain);
}

TEST_F(DisplaySnapshotBuilderTest, PassiveReadFallsBackToAFullReadWhenADisplayChanged) {
    auto earlier = previous();
    auto moved = manager->displays();
    moved[1].bounds.x = 1921;
    manager->setDisplays(moved);
    auto displays = builder.passiveDisplaySnapshots(earlier, names);
    EXPECT_TRUE(manager->requests().back().includeModes);
    for (const auto& snapshot : displays) {
        EXPECT_EQ(snapshot.modes.size(), 2u);  // the system's modes for all displays
    }
}

TEST_F(DisplaySnapshotBuilderTest, NameOrNumberChangesAreChanges) {
    auto earlier = previous();
    EXPECT_FALSE(DisplaySnapshotBuilder::cachedDisplayModes(
        builder.lightweightDisplaySnapshots({}, {{1, "Renamed"}})[0], earlier));
    auto changed = earlier[0];
    changed.serialNumber += 1;
    EXPECT_FALSE(DisplaySnapshotBuilder::cachedDisplayModes(changed, earlier));
}

TEST_F(DisplaySnapshotBuilderTest, LightweightListNeverReadsModesOrBrightness) {
    auto earlier = previous();
    auto added = manager->displays();
    added.push_back(display(3, 3840, false));
    manager->setDisplays(added);
    auto displays = builder.lightweightDisplaySnapshots(earlier, names);
    ASSERT_EQ(displays.size(), 3u);
    EXPECT_EQ(displays[0].modes, earlier[0].modes);
    EXPECT_EQ(displays[0].hardwareBrightness, std::nullopt);
    EXPECT_TRUE(displays[2].modes.empty());
    EXPECT_FALSE(displays[2].currentMode);
    EXPECT_EQ(manager->requests().size(), 2u);  // the earlier full read and this one
}

TEST(CLIDisplaySnapshotProviderTest, NamesAreReadOnceAndOnlyWhenThereAreDisplays) {
    auto manager = std::make_shared<SimulatedDisplayManager>();
    SimulatedBrightnessController brightness;
    brightness.setValue(5, 0.5);
    CLIDisplaySnapshotProvider provider(manager);

    EXPECT_TRUE(provider.activeCLIDisplays(brightness, true).empty());
    EXPECT_EQ(manager->screenNameReads(), 0);

    auto builtin = display(5, 0, true);
    builtin.isBuiltin = true;
    manager->setDisplays({builtin, display(6, 1920, false)});
    manager->setScreenNames({{6, "DELL U2720Q"}});
    auto displays = provider.activeCLIDisplays(brightness, true);
    EXPECT_EQ(manager->screenNameReads(), 1);
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[0].hardwareBrightness, 0.5);
    EXPECT_EQ(displays[1].name, "DELL U2720Q");
    EXPECT_EQ(provider.activeCLIDisplays(brightness, false)[0].hardwareBrightness, std::nullopt);
}

}  // namespace
}  // namespace quorvane
