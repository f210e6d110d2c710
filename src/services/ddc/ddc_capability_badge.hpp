#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

enum class DDCCapabilityBadgeKind {
    unchecked,
    checking,
    confirmed,
    unstable,
    unsupported,
    recheckNeeded
};

std::string_view caseName(DDCCapabilityBadgeKind kind);
std::optional<DDCCapabilityBadgeKind> parseCaseName(std::string_view text, DDCCapabilityBadgeKind*);

// The colour role a badge is drawn in.
enum class DDCCapabilityBadgeTone { secondary, green, orange, red };

std::string_view caseName(DDCCapabilityBadgeTone tone);
std::optional<DDCCapabilityBadgeTone> parseCaseName(std::string_view text, DDCCapabilityBadgeTone*);

// The short verdict shown next to a monitor about its DDC/CI controls.
struct DDCCapabilityBadge {
    DDCCapabilityBadgeKind kind = DDCCapabilityBadgeKind::unchecked;
    std::string title;
    std::optional<std::string> detail;
    std::string systemImage;  // the glyph's symbol name
    DDCCapabilityBadgeTone tone = DDCCapabilityBadgeTone::secondary;

    bool operator==(const DDCCapabilityBadge&) const = default;
};

}  // namespace quorvane
