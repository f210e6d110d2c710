#include "services/ddc/ddc_controller.hpp"

#include <gtest/gtest.h>

#include "ddc_transport/ddc_result_code.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "platform/simulated/simulated_ddc_bus_locator.hpp"
#include "platform/simulated/simulated_ddc_monitor.hpp"
#include "platform/simulated/simulated_i2c_buses.hpp"
#include "services/ddc/ddc_write_queue.hpp"

namespace quorvane {
namespace {

using Fault = SimulatedDDCMonitor::Fault;
using Kind = SimulatedI2CEvent::Kind;
using std::chrono::milliseconds;

constexpr std::uint32_t kMonitor = 3;
constexpr std::uint32_t kSecondMonitor = 4;
constexpr std::uint32_t kBuiltin = 1;

class DDCControllerTest : public ::testing::Test {
  protected:
    DDCControllerTest() {
        monitor->setControl(0x10, 40, 100);
        monitor->setControl(0x12, 60, 100);
        second->setControl(0x10, 5, 10);
        buses->attach("/dev/i2c-3", monitor);
        buses->attach("/dev/i2c-4", second);
        locator->setBuses(kMonitor, {"/dev/i2c-3"});
        locator->setBuses(kSecondMonitor, {"/dev/i2c-4"});
        locator->setRoute(kBuiltin, {kDDCBuiltInDisplay, {}});
    }

    DDCSnapshot probe(std::uint32_t display) {
        std::optional<DDCSnapshot> result;
        controller->probe(display, [&result](DDCSnapshot snapshot) { result = snapshot; });
        scheduler.runUntilIdle();
        EXPECT_TRUE(result);
        return result.value_or(DDCSnapshot{});
    }
    DDCControlResult write(DDCVCPCode code, std::uint16_t value) {
        std::optional<DDCControlResult> result;
        controller->write(kMonitor, code, value, [&result](DDCControlResult r) { result = r; });
        scheduler.runUntilIdle();
        EXPECT_TRUE(result);
        return result.value_or(DDCControlResult{});
    }
    std::vector<std::uint8_t> codesRequested() const {
        std::vector<std::uint8_t> codes;
        for (const auto& event : buses->events(Kind::write))
            codes.push_back(event.bytes.at(3));
        return codes;
    }

    ManualScheduler scheduler;
    std::shared_ptr<SimulatedDDCMonitor> monitor =
        std::make_shared<SimulatedDDCMonitor>(&scheduler, &scheduler);
    std::shared_ptr<SimulatedDDCMonitor> second =
        std::make_shared<SimulatedDDCMonitor>(&scheduler, &scheduler);
    std::shared_ptr<SimulatedI2CBuses> buses = std::make_shared<SimulatedI2CBuses>(&scheduler);
    std::shared_ptr<SimulatedDDCBusLocator> locator = std::make_shared<SimulatedDDCBusLocator>();
    std::shared_ptr<DDCController> controller = std::make_shared<DDCController>(
        scheduler, DDCTransportEnvironment{locator, buses, ddcSleepFunction(scheduler)});
};

TEST_F(DDCControllerTest, ProbeOfTheBuiltinPanelReadsNothing) {
    const DDCSnapshot snapshot = probe(kBuiltin);
    EXPECT_EQ(
        snapshot,
        (DDCSnapshot{
            kBuiltin, 0, {}, {}, "내장 디스플레이는 외장 모니터 기능 확인 대상이 아닙니다."}));
    EXPECT_TRUE(buses->events().empty());
}

TEST_F(DDCControllerTest, ProbeReadsEveryCodeInOrderAndSortsOutTheAnswers) {
    const DDCSnapshot snapshot = probe(kMonitor);
    EXPECT_EQ(codesRequested(),
              (std::vector<std::uint8_t>{0x10, 0x12, 0x16, 0x18, 0x1A, 0x62, 0x60}));
    EXPECT_EQ(snapshot.values.at(DDCVCPCode::contrast),
              (DDCControlValue{DDCVCPCode::contrast, 60, 100}));
    EXPECT_EQ(snapshot.unsupported.size(), 5u);
    EXPECT_EQ(snapshot.unsupported.at(DDCVCPCode::inputSource),
              "이 모니터는 해당 설정 항목에 응답하지 않습니다.");
    EXPECT_EQ(snapshot.supportedSummary(), "모니터 밝기, 모니터 대비");
}

// A monitor that takes every request but never replies is still asked for
// every code, each with its own result, well inside the store's 8 s limit.
TEST_F(DDCControllerTest, ProbeOfAMonitorThatNeverRepliesAsksForEveryControl) {
    monitor->setFault(Fault::noReply);
    const auto start = scheduler.monotonicNow();
    const DDCSnapshot snapshot = probe(kMonitor);
    EXPECT_TRUE(snapshot.values.empty());
    EXPECT_EQ(snapshot.unsupported.size(), 7u);
    for (const auto& [code, reason] : snapshot.unsupported)
        EXPECT_EQ(reason, "모니터가 확인 요청을 끝까지 처리하지 못했습니다.") << rawValue(code);
    EXPECT_EQ(snapshot.lastError, "모니터 설정 경로는 있지만 응답한 항목이 없습니다.");
    // Eight attempts of each of the seven codes.
    EXPECT_EQ(buses->events(Kind::write).size(), 56u);
    EXPECT_LT(scheduler.monotonicNow() - start, std::chrono::seconds(8));
}

TEST_F(DDCControllerTest, AControlLeftUnansweredDoesNotHideTheOthers) {
    monitor->leaveUnanswered(0x10);
    monitor->setControl(0x60, 0x0F, 0x12);
    const DDCSnapshot snapshot = probe(kMonitor);
    EXPECT_EQ(codesRequested().size(), 8u + 6u);
    EXPECT_EQ(snapshot.unsupported.at(DDCVCPCode::brightness),
              "모니터가 확인 요청을 끝까지 처리하지 못했습니다.");
    EXPECT_EQ(snapshot.values.at(DDCVCPCode::inputSource),
              (DDCControlValue{DDCVCPCode::inputSource, 0x0F, 0x12}));
    EXPECT_EQ(snapshot.values.at(DDCVCPCode::contrast),
              (DDCControlValue{DDCVCPCode::contrast, 60, 100}));
    EXPECT_EQ(snapshot.unsupported.at(DDCVCPCode::audioVolume),
              "이 모니터는 해당 설정 항목에 응답하지 않습니다.");
    EXPECT_EQ(snapshot.lastError, std::nullopt);
    EXPECT_EQ(snapshot.supportedSummary(), "모니터 대비, 입력 소스");
}

// Some monitors refuse the codes they lack: the request is never taken,
// however often it is sent. Refused after an answered first code, it says
// nothing of the codes after it, which are still asked and read.
TEST_F(DDCControllerTest, AControlRefusedEveryTimeStillLeavesTheLaterOnesAsked) {
    monitor->refuseRequests(0x12);
    monitor->setControl(0x60, 0x0F, 0x12);
    const DDCTransportEnvironment transport{locator, buses, ddcSleepFunction(scheduler)};
    const std::string refused =
        DDCController::runRead(transport, kMonitor, DDCVCPCode::contrast).error->description();
    buses->clearEvents();

    const DDCSnapshot snapshot = probe(kMonitor);
    // The refused code as often as a read tries it, then every later one.
    const std::vector<std::uint8_t> asked{0x10, 0x12, 0x12, 0x12, 0x12, 0x12, 0x12,
                                          0x12, 0x12, 0x16, 0x18, 0x1A, 0x62, 0x60};
    EXPECT_EQ(codesRequested(), asked);
    EXPECT_EQ(snapshot.unsupported.at(DDCVCPCode::contrast), refused);
    EXPECT_EQ(snapshot.values.at(DDCVCPCode::brightness),
              (DDCControlValue{DDCVCPCode::brightness, 40, 100}));
    EXPECT_EQ(snapshot.values.at(DDCVCPCode::inputSource),
              (DDCControlValue{DDCVCPCode::inputSource, 0x0F, 0x12}));
    EXPECT_EQ(snapshot.unsupported.at(DDCVCPCode::audioVolume),
              "이 모니터는 해당 설정 항목에 응답하지 않습니다.");
    EXPECT_EQ(snapshot.supportedSummary(), "모니터 밝기, 입력 소스");
}

// When nothing at the monitor address takes the first request, no code can
// answer: the probe ends there, and its report is what reading every code on
// its own would give.
TEST_F(DDCControllerTest, ProbeOfABusWithNoDeviceEndsAfterTheFirstControl) {
    buses->addEmptyBus("/dev/i2c-7");
    locator->setBuses(kSecondMonitor, {"/dev/i2c-7"});
    const DDCTransportEnvironment transport{locator, buses, ddcSleepFunction(scheduler)};
    for (std::uint32_t display : {kSecondMonitor, kMonitor}) {
        if (display == kMonitor)
            monitor->setFault(Fault::nakRequest);  // DDC/CI switched off in its menu
        DDCSnapshot expected{
            display, 1, {}, {}, "모니터 설정 경로는 있지만 응답한 항목이 없습니다."};
        for (DDCVCPCode code : kDDCVCPProbeOrder)
            expected.unsupported[code] =
                DDCController::runRead(transport, display, code).error->description();
        buses->clearEvents();
        const auto start = scheduler.monotonicNow();

        EXPECT_EQ(DDCController::runProbe(transport, display), expected);
        EXPECT_EQ(buses->events(Kind::write).size(), 8u);
        EXPECT_LE(scheduler.monotonicNow() - start, milliseconds(500));
    }
}

TEST_F(DDCControllerTest, ProbeGoesOnWhenTheFirstControlAnsweredAtAll) {
    // Noise is an answer from someone: the later controls are still asked.
    monitor->setFault(Fault::garbageReply, 8);
    DDCSnapshot snapshot = probe(kMonitor);
    EXPECT_EQ(snapshot.unsupported.at(DDCVCPCode::brightness),
              "모니터 응답을 해석하지 못했습니다. 케이블·허브에 따라 생길 수 있습니다.");
    EXPECT_EQ(snapshot.values.at(DDCVCPCode::contrast),
              (DDCControlValue{DDCVCPCode::contrast, 60, 100}));

    // A monitor that misses a few requests but then answers is not silent.
    monitor->setFault(Fault::nakRequest, 3);
    snapshot = probe(kMonitor);
    EXPECT_EQ(snapshot.values.size(), 2u);
}

TEST_F(DDCControllerTest, WriteReadsTheValueBack) {
    const auto result = write(DDCVCPCode::brightness, 70);
    EXPECT_EQ(result, DDCControlResult::success({DDCVCPCode::brightness, 70, 100}));
    EXPECT_EQ(codesRequested(), (std::vector<std::uint8_t>{0x10, 0x10}));
    // Write, 40 ms settling pause, request, 40 ms reply delay.
    const auto writes = buses->events(Kind::write);
    EXPECT_EQ(writes[1].time - writes[0].time, milliseconds(40));
}

TEST_F(DDCControllerTest, WriteFailuresCarryTheTransportMessage) {
    monitor->setFault(Fault::garbageReply);
    EXPECT_EQ(write(DDCVCPCode::brightness, 70),
              DDCControlResult::failure(DDCControllerError::transport(
                  "모니터 응답을 해석하지 못했습니다. 케이블·허브에 따라 생길 수 있습니다.")));
    EXPECT_EQ(monitor->control(0x10)->current, 70);  // the monitor took it all the same

    buses->failOpen("/dev/i2c-3", I2CStatus::accessDenied);
    const std::string denied = write(DDCVCPCode::brightness, 20).error->description();
    EXPECT_NE(denied.find("i2c 그룹"), std::string::npos);
    EXPECT_NE(denied.find("udev"), std::string::npos);
}

TEST_F(DDCControllerTest, AMissingDeviceNodeAsksForTheModuleNotAnotherCable) {
    // The connector has bus 7, but /dev/i2c-7 was never created.
    locator->setBuses(kMonitor, {"/dev/i2c-7"});
    const std::string missing = write(DDCVCPCode::brightness, 20).error->description();
    EXPECT_NE(missing.find("modprobe i2c-dev"), std::string::npos) << missing;
    EXPECT_NE(missing.find("/etc/modules-load.d/"), std::string::npos) << missing;
    EXPECT_EQ(missing.find("케이블"), std::string::npos) << missing;
    // The probe, which the user sees first, says it for the whole display.
    EXPECT_EQ(probe(kMonitor).lastError, DDCController::kMissingDeviceNodeMessage);

    // A node that exists but refuses this user is the permission case.
    buses->failOpen("/dev/i2c-3", I2CStatus::accessDenied);
    locator->setBuses(kMonitor, {"/dev/i2c-3"});
    EXPECT_EQ(probe(kMonitor).lastError, DDCController::kAccessDeniedMessage);
    // A bus that opens but whose monitor never answers keeps its own text.
    buses->failOpen("/dev/i2c-3", I2CStatus::ok);
    monitor->setFault(Fault::noReply);
    EXPECT_EQ(probe(kMonitor).lastError, "모니터 설정 경로는 있지만 응답한 항목이 없습니다.");
}

TEST_F(DDCControllerTest, AvailabilityReportsTheBusCount) {
    std::vector<DDCAvailability> answers;
    controller->availability(kMonitor, [&answers](DDCAvailability a) { answers.push_back(a); });
    controller->availability(99, [&answers](DDCAvailability a) { answers.push_back(a); });
    scheduler.runUntilIdle();
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0], (DDCAvailability{kMonitor, true, 1, std::nullopt}));
    EXPECT_EQ(answers[1].failureReason, "시스템이 이 화면의 모니터 설정 경로를 찾지 못했습니다.");
    EXPECT_TRUE(buses->events().empty());
}

TEST_F(DDCControllerTest, TransactionsOfAllDisplaysRunOneAtATime) {
    scheduler.pauseBackground(true);
    std::vector<std::string> order;
    controller->probe(kMonitor, [&order](DDCSnapshot) { order.push_back("probe"); });
    controller->write(kSecondMonitor, DDCVCPCode::brightness, 7,
                      [&order](DDCControlResult) { order.push_back("write"); });
    controller->read(kMonitor, DDCVCPCode::contrast,
                     [&order](DDCControlResult) { order.push_back("read"); });
    scheduler.runUntilIdle();
    EXPECT_EQ(scheduler.pendingBackgroundCount(), 1u);
    while (scheduler.runNextBackgroundTask()) {
        EXPECT_EQ(scheduler.pendingBackgroundCount(), 0u);
        scheduler.runUntilIdle();
        EXPECT_LE(scheduler.pendingBackgroundCount(), 1u);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"probe", "write", "read"}));
    EXPECT_EQ(second->control(0x10)->current, 7);
}

TEST_F(DDCControllerTest, DestroyedControllerAnswersNoMore) {
    scheduler.pauseBackground(true);
    bool called = false;
    controller->read(kMonitor, DDCVCPCode::brightness,
                     [&called](DDCControlResult) { called = true; });
    controller.reset();
    scheduler.pauseBackground(false);
    scheduler.runUntilIdle();
    EXPECT_FALSE(called);
}

// The queue's timer runs on the owner's thread while the transaction is
// still on the bus; the transaction is not stopped and its late return ends
// the settling period.
TEST_F(DDCControllerTest, QueueTimeoutFiresWhileTheControllerIsStillWriting) {
    DDCWriteQueue queue(controller, scheduler);
    scheduler.pauseBackground(true);
    std::vector<DDCWriteResult> results;
    auto collect = [&results](DDCWriteResult result) { results.push_back(result); };
    queue.submit(
        {"A", {kMonitor, DDCVCPCode::brightness}, 80, DDCWriteRequestKind::sliderFinalValue},
        collect);
    queue.submit(
        {"B", {kSecondMonitor, DDCVCPCode::brightness}, 9, DDCWriteRequestKind::brightnessSync},
        collect);

    scheduler.advance(std::chrono::seconds(4));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].outcome,
              DDCWriteResultOutcome::failed("모니터 응답 시간이 초과되었습니다."));
    EXPECT_EQ(results[1].outcome.failureText, "모니터 응답 시간이 초과되었습니다.");
    EXPECT_TRUE(buses->events().empty());  // the first transaction is still held

    // Released, both transactions run to their end, one after the other.
    scheduler.pauseBackground(false);
    scheduler.runUntilIdle();
    EXPECT_EQ(monitor->control(0x10)->current, 80);
    EXPECT_EQ(second->control(0x10)->current, 9);
    const auto writes = buses->events(Kind::write);
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(writes[2].path, "/dev/i2c-4");

    queue.submit({"C", {kMonitor, DDCVCPCode::contrast}, 10, DDCWriteRequestKind::discreteAction},
                 collect);
    scheduler.advance(std::chrono::seconds(1));
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[2].outcome, DDCWriteResultOutcome::applied({DDCVCPCode::contrast, 10, 100}));
}

}  // namespace
}  // namespace quorvane
