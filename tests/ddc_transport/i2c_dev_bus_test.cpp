#include "ddc_transport/i2c_dev_bus.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ddc_transport/ddc_result_code.hpp"
#include "ddc_transport/ddc_transport.hpp"
#include "platform/simulated/simulated_ddc_bus_locator.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

// No I2C adapter is needed: a missing node and a file that is not an i2c-dev
// device show how the real opener reports what it cannot use.
TEST(I2CDevBus, MissingNodeAndNonI2CFile) {
    const I2CDevBusOpener opener;
    EXPECT_EQ(opener.open("/dev/i2c-does-not-exist").status, I2CStatus::missing);

    std::string pattern = (fs::temp_directory_path() / "quorvane-i2c-XXXXXX").string();
    const fs::path folder = mkdtemp(pattern.data());
    const fs::path file = folder / "i2c-0";
    std::ofstream(file) << "";
    I2COpenResult opened = opener.open(file.string());
    ASSERT_EQ(opened.status, I2CStatus::ok);
    EXPECT_EQ(opened.bus->setSlaveAddress(0x37), I2CStatus::failed);
    opened.bus.reset();

    auto locator = std::make_shared<SimulatedDDCBusLocator>();
    locator->setBuses(1, {file.string()});
    locator->setBuses(2, {(folder / "i2c-9").string()});
    const DDCTransportEnvironment environment{locator, std::make_shared<I2CDevBusOpener>(),
                                              [](std::chrono::microseconds) {}};
    EXPECT_EQ(QuorvaneDDCWriteVCP(environment, 1, 0x10, 5), kDDCOpenFailed);
    DDCTransportFailureDetail detail;
    EXPECT_EQ(QuorvaneDDCWriteVCP(environment, 2, 0x10, 5, &detail), kDDCNoBus);
    EXPECT_TRUE(detail.deviceNodeMissing);  // no node for a bus the system named
    EXPECT_EQ(fs::file_size(file), 0u);     // nothing was written to a device that is not a bus
    fs::remove_all(folder);
}

}  // namespace
}  // namespace quorvane
