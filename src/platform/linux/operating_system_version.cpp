#include "platform/linux/operating_system_version.hpp"

#include <sys/utsname.h>

#include <fstream>
#include <optional>
#include <string_view>

namespace quorvane {

namespace {

// PRETTY_NAME="Debian GNU/Linux 12 (bookworm)" → Debian GNU/Linux 12 (bookworm)
std::optional<std::string> distributionName() {
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        std::ifstream file(path);
        std::string line;
        while (std::getline(file, line)) {
            constexpr std::string_view kKey = "PRETTY_NAME=";
            if (line.rfind(kKey, 0) != 0)
                continue;
            std::string value = line.substr(kKey.size());
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front()) {
                value = value.substr(1, value.size() - 2);
            }
            if (!value.empty())
                return value;
        }
    }
    return std::nullopt;
}

std::string kernelText() {
    utsname names{};
    if (uname(&names) != 0)
        return "Linux";
    return std::string(names.sysname) + " " + names.release;
}

}  // namespace

std::string operatingSystemVersionText() {
    const auto distribution = distributionName();
    if (!distribution)
        return kernelText();
    return *distribution + " · " + kernelText();
}

}  // namespace quorvane
