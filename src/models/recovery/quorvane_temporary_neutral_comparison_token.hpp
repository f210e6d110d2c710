#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace quorvane {

// The handle of one hold-to-compare: given to the control that shows the
// uncorrected screen while it is held, and handed back to end it.
struct QuorvaneTemporaryNeutralComparisonToken {
    std::string id;  // fresh UUID text per comparison
    std::string displayIdentityRawValue;

    bool operator==(const QuorvaneTemporaryNeutralComparisonToken&) const = default;
};

}  // namespace quorvane

template <>
struct std::hash<quorvane::QuorvaneTemporaryNeutralComparisonToken> {
    std::size_t operator()(const quorvane::QuorvaneTemporaryNeutralComparisonToken& token) const {
        const std::size_t first = std::hash<std::string>{}(token.id);
        return first ^ (std::hash<std::string>{}(token.displayIdentityRawValue) + 0x9e3779b9 +
                        (first << 6) + (first >> 2));
    }
};
