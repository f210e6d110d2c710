#pragma once

#include "platform/linux/session_brightness_setting.hpp"

namespace quorvane {

// systemd-logind's Session.SetBrightness on the caller's own session, over
// the system bus. logind lets the session's user set backlights without
// write access to sysfs.
class LogindSessionBrightness final : public SessionBrightnessSetting {
  public:
    int setBrightness(std::string_view subsystem, std::string_view device,
                      std::uint32_t level) override;
};

}  // namespace quorvane
