#include <X11/Xatom.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "ddc_transport/ddc_result_code.hpp"
#include "ddc_transport/sysfs_ddc_bus_locator.hpp"
#include "platform/linux/randr_ddc_output_describer.hpp"
#include "platform/linux/shared_x_connection.hpp"
#include "support/edid_builder.hpp"
#include "x_test_server.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

class RandrDDCOutputDescriberTest : public testing::XServerTest {
  protected:
    void TearDown() override {
        if (!connection)
            return;
        if (auto found = plainOutput("DUMMY1")) {
            XRRDeleteOutputProperty(connection->display(), found->id, connection->atom("EDID"));
        }
        connection->sync();
        std::error_code ignored;
        if (!sysRoot.empty())
            fs::remove_all(sysRoot, ignored);
    }

    void setEdid(const std::vector<std::uint8_t>& bytes) {
        XRRChangeOutputProperty(connection->display(), output("DUMMY1")->id,
                                connection->atom("EDID"), XA_INTEGER, 8, PropModeReplace,
                                bytes.data(), static_cast<int>(bytes.size()));
        ASSERT_FALSE(connection->sync());
    }

    // A DRM connector whose name does not resemble the X output's, so only
    // the EDID can tie them together.
    void makeConnector(const std::vector<std::uint8_t>& edid) {
        std::string pattern = (fs::temp_directory_path() / "quorvane-sys-XXXXXX").string();
        sysRoot = mkdtemp(pattern.data());
        const fs::path connector = sysRoot / "class" / "drm" / "card0-DP-3";
        fs::create_directories(connector);
        std::ofstream(connector / "edid", std::ios::binary)
            .write(reinterpret_cast<const char*>(edid.data()),
                   static_cast<std::streamsize>(edid.size()));
        fs::create_directories(sysRoot / "devices" / "i2c-7");
        fs::create_directory_symlink(sysRoot / "devices" / "i2c-7", connector / "ddc");
    }

    fs::path sysRoot;
};

TEST_F(RandrDDCOutputDescriberTest, DescribesTheOutputAndFindsItsBusByEdid) {
    testing::EdidBuilder monitor;
    setEdid(monitor.bytes());
    makeConnector(monitor.bytes());
    const auto id = static_cast<std::uint32_t>(output("DUMMY1")->id);

    auto describer = std::make_shared<RandrDDCOutputDescriber>(displayName);
    const auto description = describer->describe(id);
    ASSERT_TRUE(description);
    EXPECT_EQ(description->outputName, "DUMMY1");
    EXPECT_EQ(description->edid, monitor.bytes());
    EXPECT_FALSE(description->isBuiltin);

    SysfsDDCBusLocator locator(describer, sysRoot, "/dev");
    EXPECT_EQ(locator.locate(id).busPaths, std::vector<std::string>{"/dev/i2c-7"});
}

// The describer and the locator remember the output and its route; a new
// monitor on the output or the output going away must not be answered from
// what they remember.
TEST_F(RandrDDCOutputDescriberTest, RouteFollowsTheOutputThroughAMonitorChangeAndAnUnplug) {
    testing::EdidBuilder monitor;
    setEdid(monitor.bytes());
    makeConnector(monitor.bytes());
    auto target = output("DUMMY1", true);
    const auto id = static_cast<std::uint32_t>(target->id);
    auto describer =
        std::make_shared<RandrDDCOutputDescriber>(std::make_shared<SharedXConnection>(displayName));
    SysfsDDCBusLocator locator(describer, sysRoot, "/dev");
    ASSERT_EQ(locator.locate(id), (DDCBusRoute{0, {"/dev/i2c-7"}}));

    testing::EdidBuilder other;
    other.serial = 4242;
    setEdid(other.bytes());
    EXPECT_EQ(describer->describe(id)->edid, other.bytes());
    // The connector still holds the first monitor's EDID and the names differ.
    EXPECT_EQ(locator.locate(id).code, kDDCNoConnector);

    setEdid(monitor.bytes());
    ASSERT_EQ(locator.locate(id), (DDCBusRoute{0, {"/dev/i2c-7"}}));
    switchOutput(*target, false);
    SwitchedOff relight{*this, *target};
    EXPECT_FALSE(describer->describe(id));
    EXPECT_EQ(locator.locate(id).code, kDDCNoConnector);
}

TEST_F(RandrDDCOutputDescriberTest, UnknownDisplaysAndServersAreNotDescribed) {
    EXPECT_FALSE(RandrDDCOutputDescriber(displayName).describe(0x7FFFFFF0u));
    EXPECT_FALSE(RandrDDCOutputDescriber(":999").describe(output("DUMMY0")->id));
}

}  // namespace
}  // namespace quorvane
