#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/interfaces/brightness_controlling.hpp"
#include "platform/linux/session_brightness_setting.hpp"

namespace quorvane {

class SharedXConnection;

// The built-in panel's backlight through /sys/class/backlight: `brightness`
// against `max_brightness`, as a fraction. When the `brightness` file may not
// be written, the login session sets it instead.
//
// Only a built-in output has a backlight. An external monitor never gets the
// panel's brightness, even when the computer has a single backlight device:
// reading it would show the panel's level as the monitor's, and writing it
// would dim the wrong screen.
//
// With several backlight devices the firmware one is preferred, then the
// platform one, then a raw driver interface (the order the kernel documents
// for user space), and by name within a kind.
class SysfsBacklightController final : public BrightnessControlling {
  public:
    // Tells whether a display ID is a built-in output that is active now.
    using BuiltinDisplayQuery = std::function<bool(DisplayID)>;

    // `sysfsRoot` is "/sys" normally; tests give a temporary tree.
    SysfsBacklightController(std::filesystem::path sysfsRoot, BuiltinDisplayQuery isBuiltin,
                             std::shared_ptr<SessionBrightnessSetting> session);

    // The production controller: /sys, the X server's outputs ("" means
    // $DISPLAY) and logind.
    static std::unique_ptr<SysfsBacklightController> forSystem(std::string displayName = {});
    static std::unique_ptr<SysfsBacklightController> forSystem(
        std::shared_ptr<SharedXConnection> connection);

    std::optional<double> readBrightness(DisplayID displayID) override;
    // Throws brightnessUnsupported for displays without a backlight and
    // ioKit(errno) when the level cannot be written by either path.
    void setBrightness(DisplayID displayID, double value) override;

    // The backlight device chosen for the panel; none when there is none.
    std::optional<std::filesystem::path> backlightDevice() const;

  private:
    std::filesystem::path sysfsRoot_;
    BuiltinDisplayQuery isBuiltin_;
    std::shared_ptr<SessionBrightnessSetting> session_;
};

}  // namespace quorvane
