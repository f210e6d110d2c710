#include "ddc_transport/sysfs_ddc_bus_locator.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "ddc_transport/ddc_result_code.hpp"
#include "ddc_transport/ddc_transport.hpp"
#include "platform/simulated/simulated_ddc_monitor.hpp"
#include "platform/simulated/simulated_i2c_buses.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using Edid = std::vector<std::uint8_t>;

class FixedOutputs final : public DDCOutputDescribing {
  public:
    std::optional<DDCOutputDescription> describe(std::uint32_t displayID) const override {
        auto it = outputs.find(displayID);
        if (it == outputs.end())
            return std::nullopt;
        return it->second;
    }
    std::map<std::uint32_t, DDCOutputDescription> outputs;
};

Edid edidWithSerial(std::uint8_t serial, std::size_t size = 256) {
    Edid edid(size, 0);
    for (std::size_t i = 0; i < size; ++i)
        edid[i] = static_cast<std::uint8_t>(i * 7);
    edid[12] = serial;
    return edid;
}

// A temporary /sys tree: class/drm holds connector directories (as in the
// kernel, behind symlinks into devices/).
class SysfsTree {
  public:
    SysfsTree() {
        std::string pattern = (fs::temp_directory_path() / "quorvane-sysfs-XXXXXX").string();
        root = mkdtemp(pattern.data());
        fs::create_directories(root / "class" / "drm");
        fs::create_directories(root / "devices" / "i2c");
    }
    ~SysfsTree() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    fs::path addConnector(const std::string& entry, const Edid& edid) {
        const fs::path device = root / "devices" / "drm" / entry;
        fs::create_directories(device);
        std::ofstream(device / "edid", std::ios::binary)
            .write(reinterpret_cast<const char*>(edid.data()),
                   static_cast<std::streamsize>(edid.size()));
        fs::create_directory_symlink(device, root / "class" / "drm" / entry);
        return device;
    }
    void linkDdc(const fs::path& connector, const std::string& bus) {
        fs::create_directories(root / "devices" / "i2c" / bus);
        fs::create_directory_symlink(root / "devices" / "i2c" / bus, connector / "ddc");
    }

    fs::path root;
};

class SysfsDDCBusLocatorTest : public ::testing::Test {
  protected:
    void describe(std::uint32_t id, std::string name, Edid edid, bool builtin = false) {
        outputs->outputs[id] = {std::move(name), std::move(edid), builtin};
    }
    DDCBusRoute locate(std::uint32_t id) const { return locator.locate(id); }
    // A transport over a locator of this tree, with a monitor answering
    // brightness 70 of 100 on `busPath`.
    DDCTransportEnvironment transportWithMonitorOn(const std::string& busPath) const {
        auto monitor = std::make_shared<SimulatedDDCMonitor>();
        monitor->setControl(0x12, 70, 100);
        auto buses = std::make_shared<SimulatedI2CBuses>();
        buses->attach(busPath, monitor);
        return {std::make_shared<SysfsDDCBusLocator>(outputs, tree.root, "/dev"), buses,
                [](std::chrono::microseconds) {}};
    }

    SysfsTree tree;
    std::shared_ptr<FixedOutputs> outputs = std::make_shared<FixedOutputs>();
    SysfsDDCBusLocator locator{outputs, tree.root, "/dev"};
};

TEST_F(SysfsDDCBusLocatorTest, EdidMatchWinsOverNames) {
    const fs::path dp = tree.addConnector("card0-DP-1", edidWithSerial(1));
    tree.addConnector("card0-DP-2", edidWithSerial(2));
    tree.linkDdc(dp, "i2c-5");
    fs::create_directories(dp / "i2c-12");
    fs::create_directories(dp / "i2c-9");
    fs::create_directories(dp / "i2c-5");
    std::ofstream(dp / "i2c-notabus");
    // The amdgpu X driver names outputs differently from the kernel.
    describe(30, "DisplayPort-1", edidWithSerial(1));

    EXPECT_EQ(locate(30), (DDCBusRoute{0, {"/dev/i2c-5", "/dev/i2c-9", "/dev/i2c-12"}}));

    // Only the base block identifies the monitor: extension blocks may differ.
    const fs::path hdmi = tree.addConnector("card1-HDMI-A-2", edidWithSerial(3, 256));
    tree.linkDdc(hdmi, "i2c-3");
    describe(31, "whatever", edidWithSerial(3, 128));
    EXPECT_EQ(locate(31), (DDCBusRoute{0, {"/dev/i2c-3"}}));
}

TEST_F(SysfsDDCBusLocatorTest, ConnectorNameIsTheFallback) {
    const fs::path hdmi = tree.addConnector("card0-HDMI-A-1", {});
    tree.linkDdc(hdmi, "i2c-2");
    tree.addConnector("card0-DVI-D-1", {});
    describe(40, "HDMI-1", {});
    describe(41, "HDMI1", edidWithSerial(9));
    describe(42, "DVI-I-1", {});

    EXPECT_EQ(locate(40), (DDCBusRoute{0, {"/dev/i2c-2"}}));
    EXPECT_EQ(locate(41), (DDCBusRoute{0, {"/dev/i2c-2"}}));
    EXPECT_EQ(locate(42).code, kDDCNoConnector);
    EXPECT_EQ(locate(43).code, kDDCNoConnector);

    // A second card with a connector of the same name: the name tells
    // neither apart, and a guess may talk to the wrong monitor.
    const fs::path twin = tree.addConnector("card1-HDMI-A-1", {});
    tree.linkDdc(twin, "i2c-4");
    describe(44, "HDMI-1", edidWithSerial(10));
    EXPECT_EQ(locate(44).code, kDDCNoConnector);
}

TEST_F(SysfsDDCBusLocatorTest, IdenticalMonitorsAreToldApartByNameOrNotAtAll) {
    const fs::path left = tree.addConnector("card0-DP-1", edidWithSerial(0));
    const fs::path right = tree.addConnector("card0-DP-2", edidWithSerial(0));
    tree.linkDdc(left, "i2c-6");
    tree.linkDdc(right, "i2c-7");
    describe(50, "DP-2", edidWithSerial(0));
    describe(51, "DisplayPort-0", edidWithSerial(0));

    EXPECT_EQ(locate(50), (DDCBusRoute{0, {"/dev/i2c-7"}}));
    EXPECT_EQ(locate(51).code, kDDCNoConnector);
}

TEST_F(SysfsDDCBusLocatorTest, BuiltinPanelsAreRefused) {
    tree.addConnector("card0-eDP-1", edidWithSerial(4));
    describe(60, "eDP-1", edidWithSerial(4));
    describe(61, "panel", edidWithSerial(4));
    describe(62, "LVDS1", {});
    describe(63, "DP-9", {}, true);
    for (std::uint32_t id : {60u, 61u, 62u, 63u}) {
        EXPECT_EQ(locate(id).code, kDDCBuiltInDisplay) << id;
    }
}

TEST_F(SysfsDDCBusLocatorTest, ConnectorWithoutBusesHasAnEmptyRouteAndNoTreeNoConnector) {
    tree.addConnector("card0-VGA-1", edidWithSerial(5));
    describe(70, "VGA-1", edidWithSerial(5));
    EXPECT_EQ(locate(70), (DDCBusRoute{0, {}}));
    EXPECT_EQ(SysfsDDCBusLocator(outputs, tree.root / "absent", "/dev").locate(70).code,
              kDDCNoConnector);
}

TEST_F(SysfsDDCBusLocatorTest, TransportReachesTheMonitorThroughTheConnectorsBus) {
    const fs::path dp = tree.addConnector("card0-DP-3", edidWithSerial(8));
    fs::create_directories(dp / "i2c-11");
    describe(90, "DP-3", edidWithSerial(8));

    const auto environment = transportWithMonitorOn("/dev/i2c-11");

    std::uint16_t current = 0;
    std::uint16_t maximum = 0;
    ASSERT_EQ(QuorvaneDDCReadVCP(environment, 90, 0x12, &current, &maximum), kDDCSuccess);
    EXPECT_EQ(current, 70);
    std::uint32_t busCount = 0;
    EXPECT_EQ(QuorvaneDDCAvailability(environment, 90, &busCount), kDDCSuccess);
    EXPECT_EQ(busCount, 1u);
}

TEST_F(SysfsDDCBusLocatorTest, RouteIsRememberedUntilTheOutputChangesOrItIsForgotten) {
    const fs::path first = tree.addConnector("card0-DP-1", edidWithSerial(1));
    tree.linkDdc(first, "i2c-5");
    describe(30, "DP-1", edidWithSerial(1));
    ASSERT_EQ(locate(30), (DDCBusRoute{0, {"/dev/i2c-5"}}));

    // The tree is not read again for the same output.
    fs::remove(tree.root / "class" / "drm" / "card0-DP-1");
    EXPECT_EQ(locate(30), (DDCBusRoute{0, {"/dev/i2c-5"}}));
    locator.forget(30);
    EXPECT_EQ(locate(30).code, kDDCNoConnector);

    // Another monitor on the output is looked up without being told.
    const fs::path second = tree.addConnector("card0-DP-2", edidWithSerial(2));
    tree.linkDdc(second, "i2c-7");
    describe(30, "DP-2", edidWithSerial(2));
    EXPECT_EQ(locate(30), (DDCBusRoute{0, {"/dev/i2c-7"}}));

    // An output that went away and came back is looked up afresh.
    outputs->outputs.erase(30);
    EXPECT_EQ(locate(30).code, kDDCNoConnector);
    fs::remove(second / "ddc");
    tree.linkDdc(second, "i2c-8");
    describe(30, "DP-2", edidWithSerial(2));
    EXPECT_EQ(locate(30), (DDCBusRoute{0, {"/dev/i2c-8"}}));
}

TEST_F(SysfsDDCBusLocatorTest, FailedTransactionLooksTheRouteUpAgain) {
    const fs::path dp = tree.addConnector("card0-DP-3", edidWithSerial(8));
    fs::create_directories(dp / "i2c-11");
    describe(90, "DP-3", edidWithSerial(8));
    const auto environment = transportWithMonitorOn("/dev/i2c-12");
    std::uint16_t current = 0;
    std::uint16_t maximum = 0;
    ASSERT_EQ(QuorvaneDDCReadVCP(environment, 90, 0x12, &current, &maximum), kDDCNoBus);

    // The adapter came back under another number (a driver reload).
    fs::rename(dp / "i2c-11", dp / "i2c-12");

    EXPECT_EQ(QuorvaneDDCReadVCP(environment, 90, 0x12, &current, &maximum), kDDCSuccess);
    EXPECT_EQ(current, 70);
}

TEST(SysfsConnectorNames, EntriesAndTypes) {
    EXPECT_EQ(SysfsDDCBusLocator::connectorName("card0-HDMI-A-1"), "HDMI-A-1");
    EXPECT_EQ(SysfsDDCBusLocator::connectorName("card12-DP-3"), "DP-3");
    for (const char* entry : {"card0", "renderD128", "card-x", "version"})
        EXPECT_FALSE(SysfsDDCBusLocator::connectorName(entry)) << entry;
    EXPECT_TRUE(SysfsDDCBusLocator::isBuiltinConnectorName("edp1"));
    EXPECT_FALSE(SysfsDDCBusLocator::isBuiltinConnectorName("DSIX"));
    EXPECT_FALSE(SysfsDDCBusLocator::outputNameMatchesConnector("HDMI-1", "HDMI-A-10"));
    EXPECT_FALSE(SysfsDDCBusLocator::outputNameMatchesConnector("", ""));
}

}  // namespace
}  // namespace quorvane
