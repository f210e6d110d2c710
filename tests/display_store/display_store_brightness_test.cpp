#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/display/display_control_error.hpp"
#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"

namespace quorvane::testing {
namespace {

// A built-in panel, a monitor the store has probed, a second panel with a
// backlight and a monitor never probed, all in one sync group; `outsiders`
// are connected too, outside the group.
DisplayStore& startDesk(StoreWorld& world, const std::shared_ptr<HeldDDCController>& link,
                        const std::vector<DisplaySnapshot>& outsiders = {}) {
    auto backlit = externalDisplay(3, "Wide", 3003, 3840);
    const std::vector<DisplaySnapshot> desk{builtinDisplay(1),
                                            externalDisplay(2, "Studio", 1001, 1920), backlit,
                                            externalDisplay(4, "Side", 4004, 5760)};
    auto connected = desk;
    connected.insert(connected.end(), outsiders.begin(), outsiders.end());
    world.connect(connected);
    world.brightness->setValue(1, 0.9);
    world.brightness->setValue(3, 0.4);
    auto preferences = QuorvanePreferences::defaults();
    preferences.brightnessSyncEnabled = true;
    preferences.brightnessSyncGroupID = "desk";
    DisplayGroup group{"desk", "Desk", DisplayGroup::Kind::custom, {}};
    for (const auto& display : desk)
        group.displayIdentityRawValues.push_back(rawIdentity(display));
    preferences.customDisplayGroups = {group};
    world.storePreferences(preferences);
    auto& store = startWithMonitorLink(world, link);
    store.probeDDC(2);
    link->answerProbe(2, {{DDCVCPCode::brightness, {50, 100}}});
    return store;
}

TEST(DisplayStoreBrightnessTest, SyncReachesEachGroupMemberByThePathItHadBeforeTheRefresh) {
    StoreWorld world;
    auto link = std::make_shared<HeldDDCController>();
    auto& store = startDesk(world, link);

    store.setHardwareBrightness(0.6, 1);
    EXPECT_EQ(world.brightness->value(1), 0.6);
    // The refresh publishes a list without any brightness; the backlit panel
    // still takes the system path.
    EXPECT_FALSE(store.displays().at(2).hardwareBrightness.has_value());
    EXPECT_EQ(world.brightness->value(3), 0.6);
    ASSERT_EQ(world.writeQueue->held.size(), 1u);
    const auto& request = world.writeQueue->held[0].first;
    EXPECT_EQ(request.rawValue, 60);
    EXPECT_EQ(request.kind, DDCWriteRequestKind::brightnessSync);
    EXPECT_EQ(store.statusMessage(),
              "밝기 동기화: 2개 적용 요청, 1개 건너뜀 — Side: 모니터 밝기 확인 필요");

    // A sync write never starts another sync.
    world.writeQueue->answerApplied(60, 100);
    EXPECT_EQ(store.statusMessage(), "모니터 밝기 적용됨: 60%");
    EXPECT_TRUE(world.writeQueue->held.empty());

    // A slider write confirmed while the full read is still pending decides
    // from the quick list too: the backlit panel still takes the system path.
    store.setDDCControl(DDCVCPCode::brightness, 0.8, 2);
    world.writeQueue->answerApplied(80, 100);
    EXPECT_EQ(world.brightness->value(3), 0.8);
    EXPECT_TRUE(world.writeQueue->held.empty());

    // Once the full read is in, a confirmed slider write drives the others.
    world.scheduler->runUntilIdle();
    store.setDDCControl(DDCVCPCode::brightness, 0.7, 2);
    world.writeQueue->answerApplied(70, 100);
    EXPECT_EQ(world.brightness->value(1), 0.7);
    EXPECT_EQ(world.brightness->value(3), 0.7);
    EXPECT_TRUE(world.writeQueue->held.empty());
    EXPECT_EQ(store.statusMessage(),
              "밝기 동기화: 2개 적용 요청, 1개 건너뜀 — Side: 모니터 밝기 확인 필요");

    // While its probe runs, the confirmed monitor is skipped too; a refused
    // system write syncs nothing.
    store.probeDDC(2);
    world.brightness->setWriteFailure(DisplayControlError::ioKit(7));
    store.setHardwareBrightness(0.0, 3);
    EXPECT_EQ(store.statusMessage(), DisplayControlError::ioKit(7).description());
    world.brightness->setWriteFailure(std::nullopt);
    store.setHardwareBrightness(0.0, 3);
    EXPECT_EQ(world.brightness->value(3), 0.05);
    EXPECT_EQ(store.statusMessage(),
              "밝기 동기화: 1개 적용 요청, 2개 건너뜀 — Studio: 모니터 밝기 확인 필요");
}

TEST(DisplayStoreBrightnessTest, ADisplayOutsideTheSyncGroupNeverDrivesItsMembers) {
    StoreWorld world;
    auto link = std::make_shared<HeldDDCController>();
    world.brightness->setValue(5, 0.3);
    auto& store = startDesk(world, link, {externalDisplay(5, "Guest", 5005, 7680)});

    store.setHardwareBrightness(0.2, 5);
    EXPECT_EQ(world.brightness->value(5), 0.2);
    EXPECT_EQ(world.brightness->value(1), 0.9);
    EXPECT_EQ(world.brightness->value(3), 0.4);
    EXPECT_TRUE(world.writeQueue->held.empty());
    EXPECT_EQ(store.statusMessage(), "밝기 동기화: 선택한 그룹에 이 디스플레이가 없습니다");

    // A member drives the group, and still not the outsider.
    store.setHardwareBrightness(0.6, 1);
    EXPECT_EQ(world.brightness->value(3), 0.6);
    EXPECT_EQ(world.brightness->value(5), 0.2);
}

// A range remembered from an earlier run stands for the monitor only when its
// serial number tells it apart from another unit of the same model.
TEST(DisplayStoreBrightnessTest, SyncUsesARememberedRangeOnlyForAMonitorWithASerialNumber) {
    StoreWorld world;
    const auto serial = externalDisplay(2, "Studio", 1001, 1920);
    const auto unnumbered = externalDisplay(3, "Twin", 0, 3840);
    world.connect({builtinDisplay(1), serial, unnumbered});
    world.brightness->setValue(1, 0.9);
    DDCCapabilityCache earlierRun;
    for (const auto& monitor : {serial, unnumbered}) {
        DDCSnapshot answered;
        answered.displayID = monitor.id;
        answered.busCount = 1;
        answered.values[DDCVCPCode::brightness] = {DDCVCPCode::brightness, 50, 100};
        earlierRun.merge(answered, monitor, world.scheduler->wallNow());
    }
    UserDefaultsDDCCapabilityCacheStore(world.defaults).save(earlierRun);
    auto preferences = QuorvanePreferences::defaults();
    preferences.brightnessSyncEnabled = true;
    world.storePreferences(preferences);
    auto& store = world.start();

    store.setHardwareBrightness(0.6, 1);
    ASSERT_EQ(world.writeQueue->held.size(), 1u);
    EXPECT_EQ(world.writeQueue->held[0].first.key.displayID, 2u);
    EXPECT_EQ(store.statusMessage(),
              "밝기 동기화: 1개 적용 요청, 1개 건너뜀 — Twin: 모니터 밝기 확인 필요");
}

// Backlit panels only, all synced without a group: the panel at `failing`
// loses its backlight after the full read, so the store still takes the
// system path to it and the write is refused.
std::string syncStatusOnPanels(int panelCount, std::optional<DisplayID> failing) {
    StoreWorld world;
    std::vector<DisplaySnapshot> panels;
    const std::vector<std::string> names{"Main", "Left", "Right", "Top"};
    for (int index = 0; index < panelCount; ++index) {
        const auto id = static_cast<DisplayID>(index + 1);
        panels.push_back(externalDisplay(id, names.at(index), 5000 + id, 1920.0 * index));
        world.brightness->setValue(id, 0.3);
    }
    world.connect(panels);
    auto preferences = QuorvanePreferences::defaults();
    preferences.brightnessSyncEnabled = true;
    world.storePreferences(preferences);
    auto& store = world.start();
    world.scheduler->runUntilIdle();
    if (failing)
        world.brightness->setValue(*failing, std::nullopt);
    store.setHardwareBrightness(0.5, 1);
    return store.statusMessage();
}

TEST(DisplayStoreBrightnessTest, TheSyncTextCountsAppliedAndRefusedTargetsApart) {
    // Three targets, the middle one refused: two applied, one skipped and named.
    EXPECT_EQ(syncStatusOnPanels(4, 3),
              "밝기 동기화: 2개 적용 요청, 1개 건너뜀 — Right: " +
                  DisplayControlError::brightnessUnsupported().description());
    EXPECT_EQ(syncStatusOnPanels(4, std::nullopt), "밝기 동기화: 3개 적용 요청");
    // A single target is still a sync; none at all says so.
    EXPECT_EQ(syncStatusOnPanels(2, std::nullopt), "밝기 동기화: 1개 적용 요청");
    EXPECT_EQ(syncStatusOnPanels(1, std::nullopt), "밝기 동기화: 연결된 다른 디스플레이 없음");
    // Every target refused: nothing applied, and still not "no other display".
    EXPECT_EQ(syncStatusOnPanels(2, 2),
              "밝기 동기화: 0개 적용 요청, 1개 건너뜀 — Left: " +
                  DisplayControlError::brightnessUnsupported().description());
}

// The percent shown is the value's whole percent as written in decimal:
// binary floating point holds 0.29 a hair below it.
TEST(DisplayStoreBrightnessTest, TheAppliedTextShowsTheWholePercentOfTheValue) {
    StoreWorld world;
    world.deferFullRefreshes = false;
    world.connect({builtinDisplay(1)});
    world.brightness->setValue(1, 0.9);
    auto& store = world.start();
    for (const auto& [value, shown] : {std::pair{0.29, "29"},
                                       {0.57, "57"},
                                       {0.58, "58"},
                                       {0.429, "42"},
                                       {0.0, "5"},
                                       {1.3, "100"}}) {
        store.setHardwareBrightness(value, 1);
        EXPECT_EQ(store.statusMessage(), std::string("모니터 밝기 ") + shown + "% 적용됨") << value;
    }
}

}  // namespace
}  // namespace quorvane::testing
