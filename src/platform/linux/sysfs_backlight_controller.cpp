#include "platform/linux/sysfs_backlight_controller.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fstream>
#include <string_view>
#include <system_error>
#include <vector>

#include "models/display/display_control_error.hpp"
#include "platform/linux/logind_session_brightness.hpp"
#include "platform/linux/shared_x_connection.hpp"

namespace quorvane {
namespace {

// The file's first line as a non-negative integer; none when unreadable.
std::optional<long long> readLevel(const std::filesystem::path& file) {
    std::ifstream stream(file);
    long long value = -1;
    if (!(stream >> value) || value < 0) {
        return std::nullopt;
    }
    return value;
}

int typeRank(const std::filesystem::path& device) {
    std::ifstream stream(device / "type");
    std::string type;
    stream >> type;
    if (type == "firmware") {
        return 0;
    }
    if (type == "platform") {
        return 1;
    }
    if (type == "raw") {
        return 2;
    }
    return 3;
}

// 0 on success, else errno.
int writeLevel(const std::filesystem::path& file, long long level) {
    int descriptor = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return errno;
    }
    std::string text = std::to_string(level) + "\n";
    ssize_t written = ::write(descriptor, text.data(), text.size());
    int writeError = written < 0 ? errno : (written == static_cast<ssize_t>(text.size()) ? 0 : EIO);
    if (::close(descriptor) != 0 && writeError == 0) {
        writeError = errno;
    }
    return writeError;
}

bool mayNotWrite(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

}  // namespace

SysfsBacklightController::SysfsBacklightController(
    std::filesystem::path sysfsRoot, BuiltinDisplayQuery isBuiltin,
    std::shared_ptr<SessionBrightnessSetting> session)
    : sysfsRoot_(std::move(sysfsRoot)),
      isBuiltin_(std::move(isBuiltin)),
      session_(std::move(session)) {}

std::unique_ptr<SysfsBacklightController> SysfsBacklightController::forSystem(
    std::string displayName) {
    return forSystem(std::make_shared<SharedXConnection>(std::move(displayName)));
}

std::unique_ptr<SysfsBacklightController> SysfsBacklightController::forSystem(
    std::shared_ptr<SharedXConnection> connection) {
    // The outputs a display read just left on the connection answer this
    // without another round trip.
    auto isBuiltin = [connection](DisplayID displayID) {
        auto lease = connection->lease();
        if (!lease) {
            return false;
        }
        const RandrOutput* output = lease->activeOutput(displayID);
        return output != nullptr && output->isBuiltin();
    };
    return std::make_unique<SysfsBacklightController>("/sys", isBuiltin,
                                                      std::make_shared<LogindSessionBrightness>());
}

std::optional<std::filesystem::path> SysfsBacklightController::backlightDevice() const {
    std::error_code error;
    std::vector<std::filesystem::path> devices;
    for (const auto& entry :
         std::filesystem::directory_iterator(sysfsRoot_ / "class" / "backlight", error)) {
        auto maximum = readLevel(entry.path() / "max_brightness");
        if (maximum && *maximum > 0 && std::filesystem::exists(entry.path() / "brightness")) {
            devices.push_back(entry.path());
        }
    }
    if (devices.empty()) {
        return std::nullopt;
    }
    std::sort(devices.begin(), devices.end(), [](const auto& a, const auto& b) {
        int rankA = typeRank(a);
        int rankB = typeRank(b);
        return rankA != rankB ? rankA < rankB : a.filename() < b.filename();
    });
    return devices.front();
}

std::optional<double> SysfsBacklightController::readBrightness(DisplayID displayID) {
    // The device scan is a few sysfs reads; asking whether the display is
    // built in costs an X round trip, so it comes second.
    auto device = backlightDevice();
    if (!device || !isBuiltin_(displayID)) {
        return std::nullopt;
    }
    auto maximum = readLevel(*device / "max_brightness");
    auto level = readLevel(*device / "brightness");
    if (!maximum || !level || *maximum <= 0) {
        return std::nullopt;
    }
    return std::min(1.0, static_cast<double>(*level) / static_cast<double>(*maximum));
}

void SysfsBacklightController::setBrightness(DisplayID displayID, double value) {
    auto device = backlightDevice();
    if (!device || !isBuiltin_(displayID)) {
        throw DisplayControlError::brightnessUnsupported();
    }
    auto maximum = readLevel(*device / "max_brightness");
    if (!maximum || *maximum <= 0) {
        throw DisplayControlError::brightnessUnsupported();
    }
    if (!std::isfinite(value)) {
        throw DisplayControlError::ioKit(EINVAL);
    }
    // The kernel refuses levels outside 0...max; a fraction outside 0...1
    // means the nearest end.
    auto level = std::llround(std::clamp(value, 0.0, 1.0) * static_cast<double>(*maximum));
    int error = writeLevel(*device / "brightness", level);
    if (error != 0 && mayNotWrite(error) && session_) {
        error = session_->setBrightness("backlight", device->filename().string(),
                                        static_cast<std::uint32_t>(level));
    }
    if (error != 0) {
        throw DisplayControlError::ioKit(error);
    }
}

}  // namespace quorvane
