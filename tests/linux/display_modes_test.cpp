#include <gtest/gtest.h>

#include "platform/linux/display_manager.hpp"
#include "support/recording_brightness_controller.hpp"

namespace quorvane {
namespace {

DisplayModeDescription mode(std::int32_t id, int width, int height, double rate) {
    return {id, width, height, width, height, rate};
}

TEST(DisplayModesTest, OrderedByPixelSizeThenRateKeepingTheSystemOrderOnTies) {
    auto modes = DisplayManager::orderedModes({mode(1, 2560, 1440, 60),
                                               mode(2, 3840, 2160, 30),
                                               mode(3, 3840, 2160, 60),
                                               mode(4, 1920, 1080, 60),
                                               {5, 1280, 720, 1920, 1080, 60}},
                                              std::nullopt);
    std::vector<std::int32_t> ids;
    for (const auto& listed : modes) {
        ids.push_back(listed.ioDisplayModeID);
        EXPECT_FALSE(listed.isCurrent);
    }
    EXPECT_EQ(ids, (std::vector<std::int32_t>{3, 2, 1, 4, 5}));
}

TEST(DisplayModesTest, FirstModeOfAKeyWinsEvenOverTheCurrentOne) {
    // Rates that print alike to three decimals give the same key.
    auto current = mode(7, 1920, 1080, 60.0004);
    auto modes = DisplayManager::orderedModes({mode(7, 1920, 1080, 60.0001), current}, current);
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_DOUBLE_EQ(modes[0].refreshRate, 60.0001);
    EXPECT_TRUE(modes[0].isCurrent);  // within 0.01 of the current rate
}

TEST(DisplayModesTest, CurrentNeedsARateWithinOneHundredth) {
    auto listed = mode(9, 1920, 1080, 60.0);
    EXPECT_TRUE(DisplayManager::orderedModes({listed}, mode(9, 1920, 1080, 59.999))[0].isCurrent);
    EXPECT_FALSE(
        DisplayManager::orderedModes({listed}, mode(9, 1920, 1080, 60.0100001))[0].isCurrent);
    EXPECT_FALSE(DisplayManager::orderedModes({listed}, mode(8, 1920, 1080, 60))[0].isCurrent);
    EXPECT_FALSE(DisplayManager::modeMatches(listed, mode(9, 1920, 1200, 60)));
}

RandrOutput output(XResourceID id, const char* name, int x, int y) {
    RandrOutput result;
    result.id = id;
    result.name = name;
    result.x = x;
    result.y = y;
    result.width = 1920;
    result.height = 1080;
    return result;
}

TEST(DisplayModesTest, MainIsThePrimaryElseTheOutputAtTheOrigin) {
    auto left = output(10, "HDMI-1", 0, 0);
    auto right = output(11, "DP-1", 1920, 0);
    EXPECT_EQ(DisplayManager::mainOutput({right, left}), 10u);
    right.isPrimary = true;
    EXPECT_EQ(DisplayManager::mainOutput({left, right}), 11u);
    EXPECT_EQ(DisplayManager::mainOutput({output(12, "DP-2", 100, 0)}), std::nullopt);
}

TEST(DisplayModesTest, BuiltinConnectors) {
    for (const char* name : {"eDP-1", "eDP1", "LVDS-1", "LVDS1", "DSI-1", "edp-2"}) {
        EXPECT_TRUE(RandrOutput::isBuiltinConnectorName(name)) << name;
    }
    for (const char* name : {"HDMI-1", "DP-1", "DisplayPort-0", "VGA-1", "DUMMY0", "ed"}) {
        EXPECT_FALSE(RandrOutput::isBuiltinConnectorName(name)) << name;
    }
}

TEST(DisplayModesTest, NamesFallBackToTheKindAndTheMapReplacesThem) {
    testing::RecordingBrightnessController brightness;
    auto panel = output(0x44, "eDP-1", 0, 0);
    auto external = output(2, "HDMI-1", 1920, 0);
    auto lightweight = DisplaySnapshotRequest::lightweight({});
    EXPECT_EQ(DisplayManager::makeSnapshot(panel, true, lightweight, brightness).name,
              "Built-in Display");
    EXPECT_EQ(DisplayManager::makeSnapshot(external, false, lightweight, brightness).name,
              "Display 2");
    auto named = DisplaySnapshotRequest::lightweight({{0x44, "Color LCD"}});
    EXPECT_EQ(DisplayManager::makeSnapshot(panel, true, named, brightness).name, "Color LCD");
    EXPECT_TRUE(brightness.reads.empty());
}

}  // namespace
}  // namespace quorvane
