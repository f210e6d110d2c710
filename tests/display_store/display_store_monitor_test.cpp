#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "services/ddc/ddc_write_queue.hpp"
#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"

namespace quorvane::testing {
namespace {

constexpr const char* kProbeSettling =
    "이전 모니터 기능 확인을 정리 중입니다. 잠시 후 다시 시도하세요.";
constexpr const char* kProbeTimedOut =
    "모니터 기능 확인 시간이 초과되었습니다. 케이블·허브 연결을 확인한 뒤 다시 시도하세요.";

void answer(HeldDDCWriteQueue& queue, std::size_t index, DDCWriteResultOutcome outcome) {
    const auto& [request, completion] = queue.held.at(index);
    completion(DDCWriteResult::answering(request, std::move(outcome)));
}

TEST(DisplayStoreMonitorTest, OnlyTheNewestSliderWriteOfAControlIsPublished) {
    StoreWorld world;
    auto link = std::make_shared<HeldDDCController>();
    auto& store = startWithMonitorLink(world, link);
    store.setDDCControl(DDCVCPCode::contrast, 0.5, 1);
    EXPECT_EQ(store.statusMessage(), "먼저 모니터 기능 확인을 실행하세요");
    store.probeDDC(1);
    link->answerProbe(1, {{DDCVCPCode::brightness, {50, 100}}, {DDCVCPCode::contrast, {40, 100}}});
    EXPECT_EQ(store.statusMessage(), "모니터 설정 가능: 모니터 밝기, 모니터 대비");

    store.setDDCControl(DDCVCPCode::brightness, 0.0, 1);  // A
    store.setDDCControl(DDCVCPCode::brightness, 0.8, 1);  // B
    ASSERT_EQ(world.writeQueue->held.size(), 2u);
    EXPECT_EQ(world.writeQueue->held[0].first.rawValue, 5);  // never dark
    EXPECT_EQ(store.statusMessage(), "모니터 밝기 적용 대기…");

    // A's answers, whatever they say, come after B was accepted.
    answer(*world.writeQueue, 0,
           DDCWriteResultOutcome::failed("모니터 응답 시간이 초과되었습니다."));
    answer(*world.writeQueue, 0, DDCWriteResultOutcome::applied({DDCVCPCode::brightness, 5, 100}));
    EXPECT_EQ(store.statusMessage(), "모니터 밝기 적용 대기…");
    EXPECT_EQ(store.ddcSnapshots().at(1).values.at(DDCVCPCode::brightness).current, 50);

    answer(*world.writeQueue, 1, DDCWriteResultOutcome::applied({DDCVCPCode::brightness, 80, 100}));
    EXPECT_EQ(store.statusMessage(), "모니터 밝기 적용됨: 80%");
    EXPECT_TRUE(store.diagnosticStatusMessageRequiresDDCValueRedaction());
    EXPECT_EQ(store.ddcSnapshots().at(1).values.at(DDCVCPCode::brightness).current, 80);
}

TEST(DisplayStoreMonitorTest, AWriteTimingOutSettlesTheDisplayUntilTheLateAnswer) {
    StoreWorld world;
    auto link = std::make_shared<HeldDDCController>();
    auto& store =
        startWithMonitorLink(world, link, std::make_shared<DDCWriteQueue>(link, *world.scheduler));
    EXPECT_TRUE(
        store.setDDCControl(DDCVCPCode::contrast, 30, 1, DDCWriteRequestKind::discreteAction));
    world.scheduler->advance(seconds(3.9));
    EXPECT_EQ(store.statusMessage(), "모니터 대비 적용 대기…");
    world.scheduler->advance(seconds(0.1));
    EXPECT_EQ(store.statusMessage(), "모니터 응답 시간이 초과되었습니다.");

    store.setDDCControl(DDCVCPCode::contrast, 40, 1, DDCWriteRequestKind::discreteAction);
    world.scheduler->runUntilIdle();
    EXPECT_EQ(store.statusMessage(),
              "이전 모니터 설정 요청을 정리 중입니다. 잠시 후 다시 시도하세요.");
    ASSERT_EQ(link->writes.size(), 1u);

    link->answerWrite(100);  // the abandoned write returns
    world.scheduler->runUntilIdle();
    store.setDDCControl(DDCVCPCode::contrast, 50, 1, DDCWriteRequestKind::discreteAction);
    world.scheduler->advance(seconds(0.2));
    ASSERT_EQ(link->writes.size(), 1u);
    link->answerWrite(100);
    world.scheduler->runUntilIdle();
    EXPECT_EQ(store.statusMessage(), "모니터 대비 적용됨: 50%");
}

// A write waiting for one monitor's answer keeps only that monitor busy: the
// other one's controls take writes and its probe reaches its bus meanwhile.
TEST(DisplayStoreMonitorTest, APendingWriteOnOneMonitorLeavesAnotherMonitorsControlsAndProbeFree) {
    StoreWorld world;
    world.connect({externalDisplay(1, "Studio", 1001), externalDisplay(2, "Side", 1002, 1920)});
    auto link = std::make_shared<HeldDDCController>();
    auto& store =
        startWithMonitorLink(world, link, std::make_shared<DDCWriteQueue>(link, *world.scheduler));
    ASSERT_TRUE(
        store.setDDCControl(DDCVCPCode::contrast, 30, 1, DDCWriteRequestKind::discreteAction));
    world.scheduler->advance(seconds(1));
    ASSERT_EQ(link->writes.size(), 1u);
    ASSERT_TRUE(store.isDDCBusy(1));

    EXPECT_FALSE(store.isDDCBusy(2));
    store.probeDDC(2);
    ASSERT_EQ(link->probes.size(), 1u);
    EXPECT_EQ(link->probes[0].first, 2u);
    link->answerProbe(2, {{DDCVCPCode::contrast, {40, 100}}});
    EXPECT_EQ(store.ddcSnapshots().at(2).values.at(DDCVCPCode::contrast).current, 40);
    EXPECT_TRUE(
        store.setDDCControl(DDCVCPCode::contrast, 60, 2, DDCWriteRequestKind::discreteAction));
    world.scheduler->advance(seconds(1));
    ASSERT_EQ(link->writes.size(), 2u);
    EXPECT_EQ(link->writes[1].displayID, 2u);
    EXPECT_TRUE(store.isDDCBusy(1));
}

TEST(DisplayStoreMonitorTest, AProbeOutlastingEightSecondsSettlesTheDisplayUntilItReturns) {
    StoreWorld world;
    auto link = std::make_shared<HeldDDCController>();
    auto& store = startWithMonitorLink(world, link);
    store.probeDDC(1);
    EXPECT_EQ(store.statusMessage(),
              "모니터 기능 확인 중… 모니터/케이블에 따라 몇 초 걸릴 수 있습니다");
    world.scheduler->advance(seconds(7.9));
    EXPECT_TRUE(store.ddcProbeBusyDisplayIDs().contains(1));

    world.scheduler->advance(seconds(0.1));
    EXPECT_EQ(store.statusMessage(), kProbeTimedOut);
    EXPECT_TRUE(store.ddcProbeSettlingDisplayIDs().contains(1));
    const auto saved = UserDefaultsDDCCapabilityCacheStore(world.defaults).loadResult().cache;
    EXPECT_EQ(saved.entriesByDisplayIdentity.count(rawIdentity(store.displays()[0])), 1u);

    // Nothing new reaches the bus while the old probe is on it.
    EXPECT_FALSE(
        store.setDDCControl(DDCVCPCode::brightness, 10, 1, DDCWriteRequestKind::emergencyRecovery));
    EXPECT_EQ(store.statusMessage(), kProbeSettling);
    store.probeDDC(1);
    EXPECT_TRUE(world.writeQueue->held.empty());
    EXPECT_EQ(link->probes.size(), 1u);

    world.scheduler->advance(seconds(30));
    link->answerProbe(1, {{DDCVCPCode::brightness, {50, 100}}});
    EXPECT_TRUE(store.ddcProbeSettlingDisplayIDs().empty());
    EXPECT_TRUE(store.ddcSnapshots().at(1).values.empty());  // the late result is dropped
    EXPECT_EQ(store.statusMessage(), kProbeSettling);
}

}  // namespace
}  // namespace quorvane::testing
