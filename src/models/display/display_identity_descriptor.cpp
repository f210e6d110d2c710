#include "models/display/display_identity_descriptor.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

#include "models/coding/number_format.hpp"
#include "models/coding/unicode_text.hpp"
#include "models/display/display_identity.hpp"

namespace quorvane {

namespace {

using Aliases = DisplayIdentityDescriptorBuilder::Aliases;

std::map<std::string, int> rawIdentityCounts(const std::vector<DisplaySnapshot>& displays) {
    std::map<std::string, int> counts;
    for (const auto& display : displays)
        ++counts[DisplayIdentity::of(display).rawValue];
    return counts;
}

// Bounds reach here as integers after integral(); the guards only keep
// nonsense coordinates from overflowing the conversion.
std::string integerText(double value) {
    if (std::isnan(value))
        return "0";
    constexpr double kLimit = 9.0e18;
    const double bounded = value < -kLimit ? -kLimit : (value > kLimit ? kLimit : value);
    return formatDecimal(static_cast<std::int64_t>(std::llround(bounded)));
}

std::optional<std::string> trimmedAlias(const Aliases& aliasesByKey, const std::string& key) {
    auto it = aliasesByKey.find(key);
    if (it == aliasesByKey.end())
        return std::nullopt;
    std::string trimmed = trimWhitespaceAndNewlines(it->second);
    if (trimmed.empty())
        return std::nullopt;
    return trimmed;
}

DisplayIdentityDescriptor describe(const DisplaySnapshot& display, bool shared,
                                   const Aliases& aliasesByKey) {
    const DisplayIdentity identity = DisplayIdentity::of(display);
    DisplayIdentityDescriptor descriptor;
    descriptor.displayID = display.id;
    descriptor.rawIdentity = identity.rawValue;
    descriptor.displayName = display.name;
    descriptor.aliasKey = DisplayIdentityDescriptorBuilder::aliasKey(display);
    descriptor.alias = trimmedAlias(aliasesByKey, descriptor.aliasKey);
    if (shared) {
        descriptor.confidence = DisplayIdentityConfidence::ambiguous;
    } else if (identity.hasReliableSerial) {
        descriptor.confidence = DisplayIdentityConfidence::reliable;
    } else {
        descriptor.confidence = DisplayIdentityConfidence::serialMissing;
    }
    descriptor.reason = std::string(confidenceReason(descriptor.confidence));
    return descriptor;
}

}  // namespace

std::vector<DisplayIdentityDescriptor> DisplayIdentityDescriptorBuilder::descriptors(
    const std::vector<DisplaySnapshot>& displays, const Aliases& aliasesByKey) {
    const auto counts = rawIdentityCounts(displays);
    std::vector<DisplayIdentityDescriptor> result;
    result.reserve(displays.size());
    for (const auto& display : displays) {
        const bool shared = counts.at(DisplayIdentity::of(display).rawValue) >= 2;
        result.push_back(describe(display, shared, aliasesByKey));
    }
    return result;
}

DisplayIdentityDescriptor DisplayIdentityDescriptorBuilder::descriptor(
    const DisplaySnapshot& display, const std::vector<DisplaySnapshot>& displays,
    const Aliases& aliasesByKey) {
    for (auto& candidate : descriptors(displays, aliasesByKey)) {
        if (candidate.displayID == display.id)
            return candidate;
    }
    return describe(display, false, aliasesByKey);
}

std::string DisplayIdentityDescriptorBuilder::aliasKey(const DisplaySnapshot& display) {
    const DisplayIdentity identity = DisplayIdentity::of(display);
    if (identity.hasReliableSerial)
        return identity.rawValue;
    const DisplayRect bounds = display.bounds.integral();
    return identity.rawValue + "#local-bounds-" + integerText(bounds.x) + "x" +
           integerText(bounds.y) + "x" + integerText(bounds.width) + "x" +
           integerText(bounds.height) + "#" + (display.isMain ? "main" : "secondary") + "-" +
           (display.isBuiltin ? "builtin" : "external");
}

std::set<std::string> DisplayIdentityDescriptorBuilder::sharedIdentityRawValues(
    const std::vector<DisplaySnapshot>& displays) {
    std::set<std::string> shared;
    for (const auto& [raw, count] : rawIdentityCounts(displays)) {
        if (count >= 2)
            shared.insert(raw);
    }
    return shared;
}

std::set<std::string> DisplayIdentityDescriptorBuilder::safeImportTargetIdentityRawValues(
    const std::vector<DisplaySnapshot>& displays) {
    std::set<std::string> safe;
    for (const auto& [raw, count] : rawIdentityCounts(displays)) {
        if (count == 1)
            safe.insert(raw);
    }
    return safe;
}

std::optional<std::string> DisplayIdentityDescriptorBuilder::groupWarning(
    const DisplayGroup& group, const std::vector<DisplaySnapshot>& visibleDisplays) {
    const auto shared = sharedIdentityRawValues(visibleDisplays);
    for (const auto& raw : group.displayIdentityRawValues) {
        if (shared.contains(raw)) {
            return "동일하게 보이는 모니터가 이 묶음에 있어 자동 적용은 건너뜁니다.";
        }
    }
    return std::nullopt;
}

std::optional<std::string> DisplayIdentityDescriptorBuilder::sceneWarning(
    const DisplayScene& scene, const std::optional<DisplaySnapshot>& selectedDisplay,
    const std::vector<DisplaySnapshot>& visibleDisplays) {
    const auto shared = sharedIdentityRawValues(visibleDisplays);
    bool touchesShared = false;
    for (const auto& entry : scene.softwareAdjustmentsByDisplayIdentity) {
        if (shared.contains(entry.first))
            touchesShared = true;
    }
    if (selectedDisplay && shared.contains(DisplayIdentity::of(*selectedDisplay).rawValue)) {
        touchesShared = true;
    }
    if (!touchesShared)
        return std::nullopt;
    return "동일하게 보이는 모니터가 있어 자동 적용은 건너뜁니다.";
}

}  // namespace quorvane
