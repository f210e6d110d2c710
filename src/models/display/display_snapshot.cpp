#include "models/display/display_snapshot.hpp"

#include <functional>

#include "models/coding/number_format.hpp"

namespace quorvane {

std::string DisplaySnapshot::technicalSubtitle() const {
    return "vendor " + formatDecimal(vendorNumber) + ", model " + formatDecimal(modelNumber) +
           ", serial " + formatDecimal(serialNumber);
}

std::size_t hashValue(const DisplaySnapshot& display) {
    std::size_t seed = std::hash<DisplayID>{}(display.id);
    auto combine = [&seed](std::size_t h) {
        seed ^= h + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    };
    combine(std::hash<std::string>{}(display.name));
    combine(std::hash<std::uint32_t>{}(display.vendorNumber));
    combine(std::hash<std::uint32_t>{}(display.modelNumber));
    combine(std::hash<std::uint32_t>{}(display.serialNumber));
    combine(std::hash<bool>{}(display.isMain));
    combine(std::hash<bool>{}(display.isBuiltin));
    combine(hashValue(display.bounds));
    combine(display.currentMode ? hashValue(*display.currentMode) : 0);
    for (const auto& mode : display.modes)
        combine(hashValue(mode));
    if (display.hardwareBrightness) {
        const double b = *display.hardwareBrightness;
        combine(std::hash<double>{}(b == 0 ? 0.0 : b) + 1);
    }
    return seed;
}

}  // namespace quorvane
