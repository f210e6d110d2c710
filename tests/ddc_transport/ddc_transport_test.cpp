#include "ddc_transport/ddc_transport.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ddc_transport/ddc_result_code.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "platform/simulated/simulated_ddc_bus_locator.hpp"
#include "platform/simulated/simulated_ddc_monitor.hpp"
#include "platform/simulated/simulated_i2c_buses.hpp"

namespace quorvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = SimulatedI2CEvent::Kind;
using Fault = SimulatedDDCMonitor::Fault;
using std::chrono::microseconds;

constexpr std::uint32_t kExternal = 7;
constexpr std::uint32_t kBuiltin = 1;
constexpr std::uint32_t kNoBuses = 9;

class DDCTransportTest : public ::testing::Test {
  protected:
    DDCTransportTest() {
        monitor->setControl(0x10, 50, 100);
        monitor->setControl(0x62, 0x0102, 0x0304);
        buses->attach("/dev/i2c-4", monitor);
        locator->setBuses(kExternal, {"/dev/i2c-4"});
        locator->setRoute(kBuiltin, {kDDCBuiltInDisplay, {}});
        locator->setRoute(kNoBuses, {kDDCSuccess, {}});
        environment.sleep = [this](microseconds pause) {
            sleeps.push_back(pause);
            time.sleepFor(pause);
        };
    }

    std::int32_t read(std::uint8_t code, std::uint32_t display = kExternal) {
        return QuorvaneDDCReadVCP(environment, display, code, &current, &maximum, &detail);
    }
    std::int32_t write(std::uint8_t code, std::uint16_t value, std::uint32_t display = kExternal) {
        return QuorvaneDDCWriteVCP(environment, display, code, value, &detail);
    }
    std::size_t count(Kind kind) const { return buses->events(kind).size(); }

    // Moves only when the transport (or a slow monitor) pauses.
    ManualScheduler time;
    const MonotonicTime start = time.monotonicNow();
    std::shared_ptr<SimulatedDDCMonitor> monitor =
        std::make_shared<SimulatedDDCMonitor>(&time, &time);
    std::shared_ptr<SimulatedI2CBuses> buses = std::make_shared<SimulatedI2CBuses>(&time);
    std::shared_ptr<SimulatedDDCBusLocator> locator = std::make_shared<SimulatedDDCBusLocator>();
    DDCTransportEnvironment environment{locator, buses, {}};
    std::vector<microseconds> sleeps;
    std::uint16_t current = 99;
    std::uint16_t maximum = 99;
    DDCTransportFailureDetail detail;
};

TEST_F(DDCTransportTest, ReadSendsGetRequestWaitsAndDecodesReply) {
    ASSERT_EQ(read(0x10), kDDCSuccess);
    EXPECT_EQ(current, 50);
    EXPECT_EQ(maximum, 100);

    const auto events = buses->events();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, Kind::open);
    EXPECT_EQ(events[1].bytes, Bytes{0x37});
    EXPECT_EQ(events[2].bytes, (Bytes{0x51, 0x82, 0x01, 0x10, 0xAC}));
    EXPECT_EQ(events[3].kind, Kind::read);
    EXPECT_EQ(events[3].mode, I2CReadMode::ddcci);
    EXPECT_EQ(events[3].bytes, (Bytes{0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 100, 0x00, 50,
                                      0x6E ^ 0x88 ^ 0x02 ^ 0x10 ^ 100 ^ 50 ^ 0x50}));
    EXPECT_EQ(events[3].time - events[2].time, microseconds(40000));
    EXPECT_EQ(buses->openCount(), 0);

    ASSERT_EQ(read(0x62), kDDCSuccess);
    EXPECT_EQ(current, 0x0102);
    EXPECT_EQ(maximum, 0x0304);
}

TEST_F(DDCTransportTest, WriteSendsSetRequestAndPausesAfterwards) {
    monitor->setControl(0x10, 0, 0xFFFF);
    ASSERT_EQ(write(0x10, 0x1234), kDDCSuccess);
    const auto writes = buses->events(Kind::write);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].bytes, (Bytes{0x51, 0x84, 0x03, 0x10, 0x12, 0x34, 0x8E}));
    EXPECT_EQ(count(Kind::read), 0u);
    EXPECT_EQ(sleeps, std::vector<microseconds>{microseconds(40000)});
    EXPECT_EQ(monitor->control(0x10)->current, 0x1234);
    EXPECT_EQ(buses->openCount(), 0);
}

TEST_F(DDCTransportTest, FailedWriteReturnsAtOnceWithoutPauseOrRetry) {
    monitor->setFault(Fault::nakRequest);
    EXPECT_EQ(write(0x10, 20), kDDCSendFailed);
    EXPECT_EQ(count(Kind::write), 1u);
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(DDCTransportTest, BuiltinDisplayAndMissingBusesSendNothing) {
    std::uint32_t busCount = 5;
    EXPECT_EQ(QuorvaneDDCAvailability(environment, kBuiltin, &busCount), kDDCBuiltInDisplay);
    EXPECT_EQ(busCount, 0u);
    EXPECT_EQ(read(0x10, kBuiltin), kDDCBuiltInDisplay);
    EXPECT_EQ(write(0x10, 1, kBuiltin), kDDCBuiltInDisplay);

    busCount = 5;
    EXPECT_EQ(QuorvaneDDCAvailability(environment, kNoBuses, &busCount), kDDCNoBus);
    EXPECT_EQ(busCount, 0u);
    EXPECT_EQ(read(0x10, kNoBuses), kDDCNoBus);
    EXPECT_EQ(QuorvaneDDCAvailability(environment, 12345, nullptr), kDDCNoConnector);
    EXPECT_EQ(read(0x10, 12345), kDDCNoConnector);

    // Availability counts buses without opening them.
    locator->setBuses(kExternal, {"/dev/i2c-4", "/dev/i2c-9"});
    EXPECT_EQ(QuorvaneDDCAvailability(environment, kExternal, &busCount), kDDCSuccess);
    EXPECT_EQ(busCount, 2u);

    EXPECT_TRUE(buses->events().empty());
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(DDCTransportTest, MissingOutValueIsRefusedBeforeTouchingTheDisplay) {
    std::uint16_t value = 3;
    EXPECT_EQ(QuorvaneDDCReadVCP(environment, kExternal, 0x10, &value, nullptr),
              kDDCMissingOutValue);
    EXPECT_EQ(QuorvaneDDCReadVCP(environment, kExternal, 0x10, nullptr, &value),
              kDDCMissingOutValue);
    EXPECT_EQ(value, 3);
    EXPECT_TRUE(buses->events().empty());
}

class DDCTransportReplyFaultTest : public DDCTransportTest,
                                   public ::testing::WithParamInterface<Fault> {};

TEST_P(DDCTransportReplyFaultTest, InvalidReplyIsRetriedAfterAPause) {
    monitor->setFault(GetParam(), 1);
    ASSERT_EQ(read(0x10), kDDCSuccess);
    EXPECT_EQ(current, 50);
    EXPECT_EQ(count(Kind::write), 2u);
    // Reply delay, pause after the failed attempt, reply delay.
    EXPECT_EQ(sleeps, std::vector<microseconds>(3, microseconds(40000)));
}

INSTANTIATE_TEST_SUITE_P(Faults, DDCTransportReplyFaultTest,
                         ::testing::Values(Fault::garbageReply, Fault::badChecksum,
                                           Fault::wrongCode, Fault::wrongOpcode, Fault::noReply));

TEST_F(DDCTransportTest, UnsupportedCodeEndsAfterOneAttempt) {
    EXPECT_EQ(read(0x60), kDDCUnsupportedCode);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(count(Kind::write), 1u);
}

TEST_F(DDCTransportTest, ReadGivesUpAfterFourFramedAndFourPlainAttempts) {
    monitor->setFault(Fault::badChecksum);
    EXPECT_EQ(read(0x10), kDDCInvalidReply);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(maximum, 0);
    const auto reads = buses->events(Kind::read);
    ASSERT_EQ(reads.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(reads[i].mode, i < 4 ? I2CReadMode::ddcci : I2CReadMode::simple) << i;
    }
    // Every attempt waits for its reply and pauses after failing, the last included.
    EXPECT_EQ(sleeps.size(), 16u);
    EXPECT_EQ(time.monotonicNow() - start, microseconds(16 * 40000));
}

TEST_F(DDCTransportTest, ReadReportsTheLastAttemptsSendFailure) {
    monitor->setFault(Fault::noReply);
    EXPECT_EQ(read(0x10), kDDCTransactionFailed);
    EXPECT_EQ(count(Kind::write), 8u);

    monitor->setFault(Fault::nakRequest);
    EXPECT_EQ(read(0x10), kDDCSendFailed);

    // Seven silent attempts, then the last plain one is answered.
    buses->clearEvents();
    monitor->setFault(Fault::noReply, 7);
    EXPECT_EQ(read(0x10), kDDCSuccess);
    EXPECT_EQ(count(Kind::write), 8u);
}

// Only a read whose request nobody took on any attempt tells that no device
// is at the monitor address; a request taken once is an answer from someone.
TEST_F(DDCTransportTest, ReadTellsWhenNoDeviceTookTheRequestAtAll) {
    monitor->setFault(Fault::nakRequest);
    EXPECT_EQ(read(0x10), kDDCSendFailed);
    EXPECT_TRUE(detail.requestNeverAcknowledged);

    buses->addEmptyBus("/dev/i2c-6");
    locator->setBuses(kExternal, {"/dev/i2c-6"});
    EXPECT_EQ(read(0x10), kDDCSendFailed);
    EXPECT_TRUE(detail.requestNeverAcknowledged);

    // Taken but never answered.
    locator->setBuses(kExternal, {"/dev/i2c-4"});
    monitor->setFault(Fault::noReply);
    EXPECT_EQ(read(0x10), kDDCTransactionFailed);
    EXPECT_FALSE(detail.requestNeverAcknowledged);

    // Taken on the first attempt (and left unanswered), refused on every later one.
    monitor->setFault(Fault::none);
    monitor->leaveUnanswered(0x10);
    environment.sleep = [this](microseconds pause) {
        time.sleepFor(pause);
        monitor->setFault(Fault::nakRequest);
    };
    EXPECT_EQ(read(0x10), kDDCSendFailed);
    EXPECT_FALSE(detail.requestNeverAcknowledged);

    // A bus that took it before an empty last bus.
    environment.sleep = [this](microseconds pause) { time.sleepFor(pause); };
    monitor->setFault(Fault::none);
    locator->setBuses(kExternal, {"/dev/i2c-4", "/dev/i2c-6"});
    EXPECT_EQ(read(0x10), kDDCSendFailed);
    EXPECT_FALSE(detail.requestNeverAcknowledged);

    // Nothing reached the bus at all: a path failure, not an absent device.
    buses->failOpen("/dev/i2c-4", I2CStatus::accessDenied);
    locator->setBuses(kExternal, {"/dev/i2c-4"});
    EXPECT_EQ(read(0x10), kDDCOpenFailed);
    EXPECT_FALSE(detail.requestNeverAcknowledged);
}

TEST_F(DDCTransportTest, MonitorAnsweringOnlyPlainReadsIsReachedInTheSecondPhase) {
    monitor->setFault(Fault::simpleReplyOnly);
    ASSERT_EQ(read(0x10), kDDCSuccess);
    const auto reads = buses->events(Kind::read);
    ASSERT_EQ(reads.size(), 5u);
    EXPECT_EQ(reads[4].mode, I2CReadMode::simple);
    EXPECT_EQ(current, 50);
}

TEST_F(DDCTransportTest, BusesAreTriedInOrderAndTheFirstSuccessWins) {
    buses->failOpen("/dev/i2c-2", I2CStatus::failed);
    locator->setBuses(kExternal, {"/dev/i2c-2", "/dev/i2c-4", "/dev/i2c-6"});
    buses->addEmptyBus("/dev/i2c-6");
    ASSERT_EQ(read(0x10), kDDCSuccess);
    std::vector<std::string> opened;
    for (const auto& event : buses->events(Kind::open))
        opened.push_back(event.path);
    EXPECT_EQ(opened, (std::vector<std::string>{"/dev/i2c-2", "/dev/i2c-4"}));
}

TEST_F(DDCTransportTest, WhenEveryBusFailsTheLastBusDecides) {
    buses->failOpen("/dev/i2c-2", I2CStatus::failed);
    buses->addEmptyBus("/dev/i2c-3");
    locator->setBuses(kExternal, {"/dev/i2c-2", "/dev/i2c-3"});
    EXPECT_EQ(write(0x10, 1), kDDCSendFailed);

    locator->setBuses(kExternal, {"/dev/i2c-3", "/dev/i2c-2"});
    EXPECT_EQ(write(0x10, 1), kDDCOpenFailed);
    EXPECT_FALSE(detail.accessDenied);

    buses->failSlaveAddress("/dev/i2c-4", I2CStatus::busy);
    locator->setBuses(kExternal, {"/dev/i2c-4"});
    EXPECT_EQ(write(0x10, 1), kDDCOpenFailed);
    EXPECT_EQ(buses->openCount(), 0);
}

TEST_F(DDCTransportTest, MissingDeviceNodeOnTheLastBusEndsTheReadAtOnce) {
    locator->setBuses(kExternal, {"/dev/i2c-4", "/dev/i2c-8"});
    monitor->setFault(Fault::noReply);
    EXPECT_EQ(read(0x10), kDDCNoBus);
    EXPECT_EQ(count(Kind::write), 1u);
    EXPECT_TRUE(detail.deviceNodeMissing);
    EXPECT_FALSE(detail.accessDenied);

    // A missing node before a bus that answers leaves no trace.
    locator->setBuses(kExternal, {"/dev/i2c-8", "/dev/i2c-4"});
    monitor->setFault(Fault::none);
    EXPECT_EQ(read(0x10), kDDCSuccess);
    EXPECT_FALSE(detail.deviceNodeMissing);
}

TEST_F(DDCTransportTest, PermissionDeniedIsAnOpenFailureWithItsReason) {
    buses->failOpen("/dev/i2c-4", I2CStatus::accessDenied);
    EXPECT_EQ(read(0x10), kDDCOpenFailed);
    EXPECT_TRUE(detail.accessDenied);
    EXPECT_EQ(count(Kind::open), 8u);

    buses->failOpen("/dev/i2c-4", I2CStatus::ok);
    EXPECT_EQ(read(0x10), kDDCSuccess);
    EXPECT_FALSE(detail.accessDenied);
}

TEST_F(DDCTransportTest, SlowMonitorIsWaitedFor) {
    monitor->setTransactionTime(std::chrono::milliseconds(300));
    ASSERT_EQ(read(0x10), kDDCSuccess);
    EXPECT_EQ(time.monotonicNow() - start, std::chrono::milliseconds(640));
}

}  // namespace
}  // namespace quorvane
