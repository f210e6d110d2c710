#pragma once

#include <cstdint>
#include <string_view>

namespace quorvane {

// Sets a backlight through the login session, for users who may not write
// the sysfs file themselves.
class SessionBrightnessSetting {
  public:
    virtual ~SessionBrightnessSetting() = default;

    // Returns 0 on success or a positive errno-style code.
    virtual int setBrightness(std::string_view subsystem, std::string_view device,
                              std::uint32_t level) = 0;
};

}  // namespace quorvane
