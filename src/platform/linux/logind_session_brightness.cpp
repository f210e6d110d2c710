#include "platform/linux/logind_session_brightness.hpp"

#include <systemd/sd-bus.h>

#include <memory>
#include <string>

namespace quorvane {
namespace {

struct BusUnref {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};

struct ErrorFree {
    void operator()(sd_bus_error* error) const { sd_bus_error_free(error); }
};

}  // namespace

int LogindSessionBrightness::setBrightness(std::string_view subsystem, std::string_view device,
                                           std::uint32_t level) {
    sd_bus* rawBus = nullptr;
    int result = sd_bus_open_system(&rawBus);
    std::unique_ptr<sd_bus, BusUnref> bus(rawBus);
    if (result < 0) {
        return -result;
    }
    sd_bus_error error = SD_BUS_ERROR_NULL;
    std::unique_ptr<sd_bus_error, ErrorFree> errorGuard(&error);
    std::string subsystemText(subsystem);
    std::string deviceText(device);
    result = sd_bus_call_method(bus.get(), "org.freedesktop.login1",
                                "/org/freedesktop/login1/session/auto",
                                "org.freedesktop.login1.Session", "SetBrightness", &error, nullptr,
                                "ssu", subsystemText.c_str(), deviceText.c_str(), level);
    return result < 0 ? -result : 0;
}

}  // namespace quorvane
