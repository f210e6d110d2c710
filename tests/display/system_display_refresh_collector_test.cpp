#include "services/display/system_display_refresh_collector.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

#include "models/color/color_profile_error.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "platform/simulated/simulated_brightness_controller.hpp"
#include "platform/simulated/simulated_color_profile_manager.hpp"
#include "platform/simulated/simulated_display_manager.hpp"

namespace quorvane {
namespace {

DisplaySnapshot display(DisplayID id) {
    DisplaySnapshot snapshot;
    snapshot.id = id;
    snapshot.modes = {DisplayModeSnapshot::make({1, 1920, 1080, 1920, 1080, 60}, true)};
    snapshot.currentMode = snapshot.modes.front();
    return snapshot;
}

DisplayColorProfile profile(const std::string& id, bool current) {
    DisplayColorProfile result;
    result.id = id;
    result.name = id;
    result.isCurrent = current;
    return result;
}

struct ThrowingProfileManager : ColorProfileManaging {
    DisplayColorProfileState profileState(const DisplaySnapshot&) override {
        throw std::runtime_error("unexpected");
    }
    void setDefaultProfile(const DisplayColorProfile&, const DisplaySnapshot&) override {}
    void restoreFactoryProfile(const DisplaySnapshot&) override {}
};

class SystemDisplayRefreshCollectorTest : public ::testing::Test {
  protected:
    std::shared_ptr<SimulatedDisplayManager> manager = std::make_shared<SimulatedDisplayManager>();
    std::shared_ptr<SimulatedBrightnessController> brightness =
        std::make_shared<SimulatedBrightnessController>();
    std::shared_ptr<SimulatedColorProfileManager> profiles =
        std::make_shared<SimulatedColorProfileManager>();
    ManualScheduler scheduler;
};

TEST_F(SystemDisplayRefreshCollectorTest, ReadsEverythingInTheBackgroundAndDeliversOnTheOwner) {
    manager->setDisplays({display(1), display(2)});
    brightness->setValue(1, 0.7);
    profiles->setProfiles(1, {profile("a", true)});
    profiles->setProfiles(2, {profile("b", false), profile("c", true)});
    scheduler.pauseBackground(true);
    std::optional<DisplayFullRefreshResult> delivered;
    {
        SystemDisplayRefreshCollector collector(manager, brightness, profiles, scheduler);
        collector.collectFullRefresh({{1, "Built-in"}}, [&](DisplayFullRefreshResult result) {
            delivered = std::move(result);
        });
    }  // the refresh outlives the collector

    scheduler.runUntilIdle();
    EXPECT_FALSE(delivered);
    EXPECT_TRUE(manager->requests().empty());
    ASSERT_TRUE(scheduler.runNextBackgroundTask());
    EXPECT_FALSE(delivered);  // not on the background thread
    scheduler.runUntilIdle();

    ASSERT_TRUE(delivered);
    EXPECT_EQ(manager->requests().back(), DisplaySnapshotRequest::full({{1, "Built-in"}}));
    ASSERT_EQ(delivered->displays.size(), 2u);
    EXPECT_EQ(delivered->displays[0].hardwareBrightness, 0.7);
    EXPECT_EQ(delivered->colorProfileStates.at(2).currentProfileID, "c");
}

TEST_F(SystemDisplayRefreshCollectorTest, OneDisplaysProfileFailureDoesNotStopTheOthers) {
    manager->setDisplays({display(1), display(2)});
    profiles->setProfiles(2, {profile("b", true)});
    profiles->setReadFailure(1, ColorProfileError::displayUUIDUnavailable(1));

    auto result = SystemDisplayRefreshCollector::collect(*manager, *brightness, *profiles, {});

    const auto& failed = result.colorProfileStates.at(1);
    EXPECT_EQ(failed.availability, DisplayColorProfileState::Availability::unavailable);
    EXPECT_EQ(failed.message, ColorProfileError::displayUUIDUnavailable(1).description());
    EXPECT_EQ(result.colorProfileStates.at(2).currentProfileID, "b");

    ThrowingProfileManager throwing;
    auto guarded = SystemDisplayRefreshCollector::collect(*manager, *brightness, throwing, {});
    EXPECT_EQ(guarded.colorProfileStates.at(2).message, "unexpected");
}

}  // namespace
}  // namespace quorvane
