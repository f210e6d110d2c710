#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/linux/session_brightness_setting.hpp"

namespace quorvane {

// systemd-logind's Session.SetBrightness on the caller's own session, over
// the system bus. logind lets the session's user set backlights without
// write access to sysfs.
//
// The D-Bus library is loaded on the first call only: most runs (every
// command-line command, every computer whose backlight file is writable)
// never need it, and loading it with the program costs each start its
// libraries.
class LogindSessionBrightness final : public SessionBrightnessSetting {
  public:
    static constexpr const char* kLibrary = "libsystemd.so.0";

    // `library` is the shared object to load; tests name one that is absent.
    explicit LogindSessionBrightness(std::string library = kLibrary);
    ~LogindSessionBrightness() override;

    // ENOSYS when the library cannot be loaded.
    int setBrightness(std::string_view subsystem, std::string_view device,
                      std::uint32_t level) override;

  private:
    struct SdBus;
    struct LibraryClose {
        void operator()(void* handle) const;
    };

    // Loads the library on the first call and keeps it; none when it or one
    // of its calls is missing (and then it is not tried again).
    const SdBus* loaded();

    std::string library_;
    std::mutex mutex_;
    bool triedLoading_ = false;
    std::unique_ptr<void, LibraryClose> handle_;
    std::unique_ptr<SdBus> sdBus_;
};

}  // namespace quorvane
