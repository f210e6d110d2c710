#include "platform/linux/display_manager.hpp"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cstring>

#include "models/display/display_control_error.hpp"
#include "platform/linux/sysfs_backlight_controller.hpp"
#include "support/edid_builder.hpp"
#include "support/recording_brightness_controller.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

class DisplayManagerTest : public testing::XServerTest {
  protected:
    void TearDown() override {
        if (!connection) {
            return;
        }
        Atom edid = connection->atom("EDID");
        for (const auto& lit : testing::kHarnessOutputs) {
            if (auto found = plainOutput(lit.name)) {
                XRRDeleteOutputProperty(connection->display(), found->id, edid);
            }
        }
        connection->sync();
        // The modes and places the harness gave the outputs.
        restoreWorld();
    }

    void setEdid(const char* name, const std::vector<std::uint8_t>& bytes) {
        XRRChangeOutputProperty(connection->display(), output(name)->id, connection->atom("EDID"),
                                XA_INTEGER, 8, PropModeReplace, bytes.data(),
                                static_cast<int>(bytes.size()));
        ASSERT_FALSE(connection->sync());
    }

    const DisplaySnapshot* find(const std::vector<DisplaySnapshot>& displays, const char* name) {
        auto id = output(name)->id;
        auto found = std::find_if(displays.begin(), displays.end(),
                                  [&](const DisplaySnapshot& display) { return display.id == id; });
        return found == displays.end() ? nullptr : &*found;
    }

    testing::RecordingBrightnessController brightness;
};

TEST_F(DisplayManagerTest, ListsTheLitOutputsInServerOrderWithBoundsAndModes) {
    DisplayManager manager(displayName);
    auto displays = manager.activeDisplays(brightness, DisplaySnapshotRequest::full({}));
    ASSERT_EQ(displays.size(), 3u);
    EXPECT_EQ(displays[0].id, output("DUMMY0")->id);
    EXPECT_EQ(displays[0].bounds, (DisplayRect{0, 0, 1920, 1080}));
    EXPECT_EQ(displays[1].bounds, (DisplayRect{1920, 0, 1280, 720}));
    EXPECT_EQ(displays[2].bounds, (DisplayRect{3200, 0, 1600, 900}));
    EXPECT_TRUE(displays[0].isMain);
    EXPECT_FALSE(displays[1].isMain || displays[2].isMain);

    const auto& second = displays[1];
    ASSERT_TRUE(second.currentMode);
    EXPECT_EQ(second.currentMode->width, 1280);
    EXPECT_NEAR(second.currentMode->refreshRate, 59.855, 0.001);
    ASSERT_GE(second.modes.size(), 3u);
    EXPECT_EQ(std::count_if(second.modes.begin(), second.modes.end(),
                            [](const DisplayModeSnapshot& mode) { return mode.isCurrent; }),
              1);
    EXPECT_TRUE(
        std::is_sorted(second.modes.begin(), second.modes.end(),
                       [](const auto& a, const auto& b) { return a.pixelWidth > b.pixelWidth; }));
    EXPECT_EQ(brightness.reads.size(), 3u);
}

TEST_F(DisplayManagerTest, RequestsWithoutModesOrBrightnessReadNeither) {
    DisplayManager manager(displayName);
    brightness.values[static_cast<DisplayID>(output("DUMMY0")->id)] = 0.4;
    auto displays = manager.activeDisplays(brightness, DisplaySnapshotRequest::passive({}));
    ASSERT_EQ(displays.size(), 3u);
    EXPECT_EQ(displays[0].hardwareBrightness, 0.4);
    EXPECT_FALSE(displays[1].hardwareBrightness);
    for (const auto& display : displays) {
        EXPECT_FALSE(display.currentMode);
        EXPECT_TRUE(display.modes.empty());
    }
    brightness.reads.clear();
    manager.activeDisplays(brightness, DisplaySnapshotRequest::lightweight({}));
    EXPECT_TRUE(brightness.reads.empty());
}

TEST_F(DisplayManagerTest, IdentityNumbersAndNameComeFromTheOutputsEdid) {
    testing::EdidBuilder monitor;
    monitor.manufacturer = "GSM";
    monitor.productCode = 0x5B7F;
    monitor.serial = 0x0001E240;
    monitor.name = "LG HDR 4K";
    setEdid("DUMMY1", monitor.bytes());
    auto damaged = monitor.bytes();
    damaged[127] ^= 0xFF;
    setEdid("DUMMY2", damaged);

    DisplayManager manager(displayName);
    auto names = manager.screenNamesByDisplayID();
    auto displays = manager.activeDisplays(brightness, DisplaySnapshotRequest::lightweight(names));
    const auto* lg = find(displays, "DUMMY1");
    ASSERT_TRUE(lg);
    EXPECT_EQ(lg->vendorNumber, 0x1E6Du);  // "GSM"
    EXPECT_EQ(lg->modelNumber, 0x5B7Fu);
    EXPECT_EQ(lg->serialNumber, 123456u);
    EXPECT_EQ(lg->name, "LG HDR 4K");
    const auto* broken = find(displays, "DUMMY2");
    ASSERT_TRUE(broken);
    EXPECT_EQ(broken->vendorNumber, 0u);
    EXPECT_EQ(broken->name, "DUMMY2");
    EXPECT_EQ(find(displays, "DUMMY0")->name, "DUMMY0");
}

TEST_F(DisplayManagerTest, ModeSwitchIsReportedByTheServer) {
    DisplayManager manager(displayName);
    auto displays = manager.activeDisplays(brightness, DisplaySnapshotRequest::full({}));
    const auto* second = find(displays, "DUMMY1");
    ASSERT_TRUE(second);
    auto wider = std::find_if(second->modes.begin(), second->modes.end(), [](const auto& mode) {
        return mode.width == 1920 && mode.height == 1080 && mode.refreshRate > 59;
    });
    ASSERT_NE(wider, second->modes.end());

    manager.setMode(*wider, second->id);

    auto after = manager.activeDisplays(brightness, DisplaySnapshotRequest::full({}));
    const auto* switched = find(after, "DUMMY1");
    ASSERT_TRUE(switched && switched->currentMode);
    EXPECT_EQ(switched->currentMode->id, wider->id);
    EXPECT_EQ(switched->bounds, (DisplayRect{1920, 0, 1920, 1080}));
}

TEST_F(DisplayManagerTest, ModeSwitchGrowsTheScreenWhenNeeded) {
    DisplayManager manager(displayName);
    auto displays = manager.activeDisplays(brightness, DisplaySnapshotRequest::full({}));
    const auto* third = find(displays, "DUMMY2");
    ASSERT_TRUE(third);
    // Give DUMMY2 (at most 1600 wide) a wider mode the server already knows.
    XRRAddOutputMode(connection->display(), third->id,
                     static_cast<RRMode>(find(displays, "DUMMY0")->currentMode->ioDisplayModeID));
    ASSERT_FALSE(connection->sync());
    displays = manager.activeDisplays(brightness, DisplaySnapshotRequest::full({}));
    third = find(displays, "DUMMY2");
    auto larger = std::find_if(third->modes.begin(), third->modes.end(),
                               [](const auto& mode) { return mode.width > 1600; });
    ASSERT_NE(larger, third->modes.end());
    // Start from a screen that just holds the three outputs.
    XRRSetScreenSize(connection->display(), connection->root(), 4800, 1080,
                     DisplayWidthMM(connection->display(), 0),
                     DisplayHeightMM(connection->display(), 0));
    ASSERT_FALSE(connection->sync());
    int widthBefore = rootSize().first;
    ASSERT_EQ(widthBefore, 4800);

    manager.setMode(*larger, third->id);

    auto after = output("DUMMY2");
    ASSERT_TRUE(after);
    EXPECT_EQ(after->width, static_cast<unsigned>(larger->width));
    int widthAfter = rootSize().first;
    EXPECT_GE(widthAfter, 3200 + larger->width);
    EXPECT_GT(widthAfter, widthBefore);
}

TEST_F(DisplayManagerTest, UnknownModesAndDisplaysAreModeNotFound) {
    DisplayManager manager(displayName);
    auto displays = manager.activeDisplays(brightness, DisplaySnapshotRequest::full({}));
    ASSERT_FALSE(displays.empty());
    auto stale = displays[0].modes.front();
    stale.ioDisplayModeID = 0x7FFFFF;
    EXPECT_THROW(manager.setMode(stale, displays[0].id), DisplayControlError);
    EXPECT_THROW(manager.setMode(displays[0].modes.front(), 0x7FFFFF), DisplayControlError);
}

TEST_F(DisplayManagerTest, SystemBacklightIsOnlyForBuiltinOutputs) {
    // The dummy outputs are external connectors: none of them gets the
    // computer's backlight, whatever /sys holds.
    auto backlight = SysfsBacklightController::forSystem(displayName);
    for (const char* name : {"DUMMY0", "DUMMY1"}) {
        auto id = static_cast<DisplayID>(output(name)->id);
        EXPECT_EQ(backlight->readBrightness(id), std::nullopt);
        EXPECT_THROW(backlight->setBrightness(id, 0.5), DisplayControlError);
    }
}

TEST_F(DisplayManagerTest, UnreachableServerGivesNoDisplays) {
    DisplayManager manager(":4093");
    EXPECT_TRUE(manager.activeDisplays(brightness, DisplaySnapshotRequest::full({})).empty());
    EXPECT_TRUE(manager.screenNamesByDisplayID().empty());
}

// Interlaced modes send half the lines per field and double-scan modes each
// line twice: the rate the user knows is dot clock / (htotal * vtotal)
// with vtotal halved or doubled, never the plain division.
TEST_F(DisplayManagerTest, InterlacedAndDoubleScanModesReportTheirFieldRate) {
    Display* display = connection->display();
    const auto target = output("DUMMY2");
    ASSERT_TRUE(target);
    struct Made {
        const char* name;
        unsigned width, height, hTotal, vTotal;
        unsigned long dotClock;
        XRRModeFlags flags;
        double expected;
    };
    char interlacedName[] = "quorvane-test-1920x1080i";
    char doubleName[] = "quorvane-test-320x240d";
    const Made made[] = {
        // 74.25 MHz / (2200 * 1125 / 2) = 60 Hz; the plain division gives 30.
        {interlacedName, 1920, 1080, 2200, 1125, 74'250'000, RR_Interlace, 60.0},
        // 12.5875 MHz / (400 * 262 * 2) ≈ 60.06 Hz; the plain division gives 120.1.
        {doubleName, 320, 240, 400, 262, 12'587'500, RR_DoubleScan, 12'587'500.0 / (400 * 524.0)},
    };
    std::vector<RRMode> created;
    for (const auto& mode : made) {
        XRRModeInfo info{};
        info.width = mode.width;
        info.height = mode.height;
        info.hTotal = mode.hTotal;
        info.vTotal = mode.vTotal;
        info.dotClock = mode.dotClock;
        info.modeFlags = mode.flags;
        info.hSyncStart = mode.width + 8;
        info.hSyncEnd = mode.width + 16;
        info.vSyncStart = mode.height + 2;
        info.vSyncEnd = mode.height + 4;
        info.name = const_cast<char*>(mode.name);
        info.nameLength = static_cast<unsigned>(std::strlen(mode.name));
        const RRMode id = XRRCreateMode(display, connection->root(), &info);
        XRRAddOutputMode(display, target->id, id);
        created.push_back(id);
    }
    ASSERT_FALSE(connection->sync());

    DisplayManager manager(displayName);
    testing::RecordingBrightnessController brightness;
    std::vector<double> seen(2, -1);
    for (const auto& snapshot :
         manager.activeDisplays(brightness, DisplaySnapshotRequest::full({}))) {
        for (const auto& mode : snapshot.modes) {
            for (std::size_t i = 0; i < 2; ++i) {
                if (mode.ioDisplayModeID == static_cast<std::int32_t>(created[i]))
                    seen[i] = mode.refreshRate;
            }
        }
    }
    for (const RRMode id : created) {
        XRRDeleteOutputMode(display, target->id, id);
        XRRDestroyMode(display, id);
    }
    connection->sync();
    EXPECT_NEAR(seen[0], made[0].expected, 1e-9);
    EXPECT_NEAR(seen[1], made[1].expected, 1e-9);
}

}  // namespace
}  // namespace quorvane
