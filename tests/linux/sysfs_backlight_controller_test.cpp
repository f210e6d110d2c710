#include "platform/linux/sysfs_backlight_controller.hpp"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <string>

#include "models/display/display_control_error.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

constexpr DisplayID kPanel = 0x44;
constexpr DisplayID kMonitor = 0x45;

struct RecordingSession : SessionBrightnessSetting {
    int answer = 0;
    std::vector<std::tuple<std::string, std::string, std::uint32_t>> calls;

    int setBrightness(std::string_view subsystem, std::string_view device,
                      std::uint32_t level) override {
        calls.emplace_back(subsystem, device, level);
        return answer;
    }
};

class SysfsBacklightControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvane-sysfs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
        fs::create_directories(root / "class" / "backlight");
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path addDevice(const std::string& name, const std::string& type, long long maximum,
                       long long level) {
        auto device = root / "class" / "backlight" / name;
        fs::create_directories(device);
        write(device / "type", type + "\n");
        write(device / "max_brightness", std::to_string(maximum) + "\n");
        write(device / "brightness", std::to_string(level) + "\n");
        return device;
    }

    static void write(const fs::path& file, const std::string& text) {
        std::ofstream(file) << text;
    }
    static std::string read(const fs::path& file) {
        std::ifstream stream(file);
        std::string text;
        std::getline(stream, text);
        return text;
    }

    SysfsBacklightController controller(std::shared_ptr<SessionBrightnessSetting> session = {}) {
        return SysfsBacklightController(
            root, [](DisplayID id) { return id == kPanel; }, std::move(session));
    }

    fs::path root;
};

TEST_F(SysfsBacklightControllerTest, PrefersFirmwareThenPlatformThenRawDevices) {
    addDevice("intel_backlight", "raw", 1000, 400);
    auto backlight = controller();
    EXPECT_EQ(backlight.readBrightness(kPanel), 0.4);
    addDevice("dell_backlight", "platform", 10, 5);
    EXPECT_EQ(backlight.backlightDevice()->filename(), "dell_backlight");
    addDevice("acpi_video0", "firmware", 15, 3);
    EXPECT_EQ(backlight.backlightDevice()->filename(), "acpi_video0");
    EXPECT_EQ(backlight.readBrightness(kPanel), 0.2);
}

TEST_F(SysfsBacklightControllerTest, ExternalMonitorNeverGetsThePanelsBacklight) {
    auto device = addDevice("intel_backlight", "raw", 1000, 400);
    auto backlight = controller();
    EXPECT_EQ(backlight.readBrightness(kMonitor), std::nullopt);
    EXPECT_THROW(backlight.setBrightness(kMonitor, 0.9), DisplayControlError);
    EXPECT_EQ(read(device / "brightness"), "400");
}

TEST_F(SysfsBacklightControllerTest, WritesTheNearestLevelWithinRange) {
    auto device = addDevice("intel_backlight", "raw", 1000, 400);
    auto backlight = controller();
    backlight.setBrightness(kPanel, 0.12345);
    EXPECT_EQ(read(device / "brightness"), "123");
    // 123.7 is nearer 124: truncation would write 123.
    backlight.setBrightness(kPanel, 0.1237);
    EXPECT_EQ(read(device / "brightness"), "124");
    backlight.setBrightness(kPanel, 1.7);
    EXPECT_EQ(read(device / "brightness"), "1000");
    backlight.setBrightness(kPanel, -1);
    EXPECT_EQ(read(device / "brightness"), "0");
    EXPECT_THROW(backlight.setBrightness(kPanel, std::nan("")), DisplayControlError);
    EXPECT_EQ(read(device / "brightness"), "0");
}

TEST_F(SysfsBacklightControllerTest, AnExactHalfLevelRoundsUp) {
    // 0.5 of 5 levels is 2.5: rounding half up gives 3, where truncation and
    // rounding half to even would both give 2.
    auto device = addDevice("acpi_video0", "firmware", 5, 1);
    auto backlight = controller();
    backlight.setBrightness(kPanel, 0.5);
    EXPECT_EQ(read(device / "brightness"), "3");
    EXPECT_DOUBLE_EQ(*backlight.readBrightness(kPanel), 0.6);
}

TEST_F(SysfsBacklightControllerTest, NoUsableDeviceMeansNoBrightness) {
    auto backlight = controller();
    EXPECT_EQ(backlight.readBrightness(kPanel), std::nullopt);
    EXPECT_THROW(backlight.setBrightness(kPanel, 0.5), DisplayControlError);

    addDevice("broken", "raw", 0, 0);  // a zero maximum cannot scale anything
    fs::create_directories(root / "class" / "backlight" / "empty");
    EXPECT_EQ(backlight.readBrightness(kPanel), std::nullopt);

    auto unreadable = addDevice("garbled", "raw", 100, 0);
    write(unreadable / "brightness", "bright\n");
    EXPECT_EQ(backlight.readBrightness(kPanel), std::nullopt);
}

// Runs `body` in a child process that may not write the tree (as root, the
// child drops to the unprivileged "nobody" account) and returns its exit code.
int runWithoutWriteAccess(const std::function<int()>& body) {
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(90);
        }
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

TEST_F(SysfsBacklightControllerTest, FileWithoutWriteAccessGoesThroughTheSession) {
    auto device = addDevice("intel_backlight", "raw", 1000, 400);
    fs::permissions(device / "brightness",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    int result = runWithoutWriteAccess([&] {
        auto session = std::make_shared<RecordingSession>();
        auto backlight = controller(session);
        if (backlight.readBrightness(kPanel) != 0.4) {
            return 1;
        }
        backlight.setBrightness(kPanel, 0.75);
        if (session->calls.size() != 1 ||
            session->calls[0] !=
                std::make_tuple(std::string("backlight"), std::string("intel_backlight"), 750u)) {
            return 2;
        }
        session->answer = EPERM;
        try {
            backlight.setBrightness(kPanel, 0.5);
            return 3;
        } catch (const DisplayControlError& error) {
            return error == DisplayControlError::ioKit(EPERM) ? 0 : 4;
        }
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(read(device / "brightness"), "400");
}

}  // namespace
}  // namespace quorvane
