#include "platform/linux/logind_session_brightness.hpp"

#include <dlfcn.h>
#include <systemd/sd-bus.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace quorvane {

// The four sd-bus calls the brightness call needs, looked up in the loaded
// library.
struct LogindSessionBrightness::SdBus {
    decltype(&sd_bus_open_system) openSystem = nullptr;
    decltype(&sd_bus_call_method) callMethod = nullptr;
    decltype(&sd_bus_error_free) errorFree = nullptr;
    decltype(&sd_bus_flush_close_unref) flushCloseUnref = nullptr;

    template <class Function>
    static bool resolve(void* library, const char* name, Function& function) {
        function = reinterpret_cast<Function>(dlsym(library, name));
        return function != nullptr;
    }

    static std::optional<SdBus> load(void* library) {
        SdBus bus;
        if (!resolve(library, "sd_bus_open_system", bus.openSystem) ||
            !resolve(library, "sd_bus_call_method", bus.callMethod) ||
            !resolve(library, "sd_bus_error_free", bus.errorFree) ||
            !resolve(library, "sd_bus_flush_close_unref", bus.flushCloseUnref)) {
            return std::nullopt;
        }
        return bus;
    }
};

LogindSessionBrightness::LogindSessionBrightness(std::string library)
    : library_(std::move(library)) {}

LogindSessionBrightness::~LogindSessionBrightness() = default;

void LogindSessionBrightness::LibraryClose::operator()(void* handle) const {
    dlclose(handle);
}

const LogindSessionBrightness::SdBus* LogindSessionBrightness::loaded() {
    std::lock_guard lock(mutex_);
    if (!triedLoading_) {
        triedLoading_ = true;
        handle_.reset(dlopen(library_.c_str(), RTLD_NOW | RTLD_LOCAL));
        if (handle_) {
            if (auto bus = SdBus::load(handle_.get())) {
                sdBus_ = std::make_unique<SdBus>(*bus);
            }
        }
    }
    return sdBus_.get();
}

int LogindSessionBrightness::setBrightness(std::string_view subsystem, std::string_view device,
                                           std::uint32_t level) {
    const SdBus* sdBus = loaded();
    if (sdBus == nullptr) {
        return ENOSYS;
    }
    sd_bus* rawBus = nullptr;
    int result = sdBus->openSystem(&rawBus);
    auto closeBus = [&](sd_bus* bus) { sdBus->flushCloseUnref(bus); };
    std::unique_ptr<sd_bus, decltype(closeBus)> bus(rawBus, closeBus);
    if (result < 0) {
        return -result;
    }
    sd_bus_error error = SD_BUS_ERROR_NULL;
    auto freeError = [&](sd_bus_error* pending) { sdBus->errorFree(pending); };
    std::unique_ptr<sd_bus_error, decltype(freeError)> errorGuard(&error, freeError);
    std::string subsystemText(subsystem);
    std::string deviceText(device);
    result = sdBus->callMethod(bus.get(), "org.freedesktop.login1",
                               "/org/freedesktop/login1/session/auto",
                               "org.freedesktop.login1.Session", "SetBrightness", &error, nullptr,
                               "ssu", subsystemText.c_str(), deviceText.c_str(), level);
    return result < 0 ? -result : 0;
}

}  // namespace quorvane
