#include "services/ddc/ddc_capability_badge.hpp"

namespace quorvane {

std::string_view caseName(DDCCapabilityBadgeKind kind) {
    switch (kind) {
        case DDCCapabilityBadgeKind::unchecked:
            return "unchecked";
        case DDCCapabilityBadgeKind::checking:
            return "checking";
        case DDCCapabilityBadgeKind::confirmed:
            return "confirmed";
        case DDCCapabilityBadgeKind::unstable:
            return "unstable";
        case DDCCapabilityBadgeKind::unsupported:
            return "unsupported";
        case DDCCapabilityBadgeKind::recheckNeeded:
            return "recheckNeeded";
    }
    return {};
}

std::optional<DDCCapabilityBadgeKind> parseCaseName(std::string_view text,
                                                    DDCCapabilityBadgeKind*) {
    for (DDCCapabilityBadgeKind kind :
         {DDCCapabilityBadgeKind::unchecked, DDCCapabilityBadgeKind::checking,
          DDCCapabilityBadgeKind::confirmed, DDCCapabilityBadgeKind::unstable,
          DDCCapabilityBadgeKind::unsupported, DDCCapabilityBadgeKind::recheckNeeded}) {
        if (caseName(kind) == text)
            return kind;
    }
    return std::nullopt;
}

std::string_view caseName(DDCCapabilityBadgeTone tone) {
    switch (tone) {
        case DDCCapabilityBadgeTone::secondary:
            return "secondary";
        case DDCCapabilityBadgeTone::green:
            return "green";
        case DDCCapabilityBadgeTone::orange:
            return "orange";
        case DDCCapabilityBadgeTone::red:
            return "red";
    }
    return {};
}

std::optional<DDCCapabilityBadgeTone> parseCaseName(std::string_view text,
                                                    DDCCapabilityBadgeTone*) {
    for (DDCCapabilityBadgeTone tone :
         {DDCCapabilityBadgeTone::secondary, DDCCapabilityBadgeTone::green,
          DDCCapabilityBadgeTone::orange, DDCCapabilityBadgeTone::red}) {
        if (caseName(tone) == text)
            return tone;
    }
    return std::nullopt;
}

}  // namespace quorvane
