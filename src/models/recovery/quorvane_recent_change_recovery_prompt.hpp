#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "models/coding/date_coding.hpp"

namespace quorvane {

// A display whose recent colour change can still be undone.
struct QuorvaneRecentChangeRecoveryTarget {
    std::uint32_t displayID = 0;          // valid only while the display stays connected
    std::string displayIdentityRawValue;  // how undo finds the display again
    std::string displayName;

    bool operator==(const QuorvaneRecentChangeRecoveryTarget&) const = default;
};

// The short-lived offer to undo the last colour change. Undo and dismissal
// name the prompt by `id`, so a newer prompt is never acted on by mistake.
struct QuorvaneRecentChangeRecoveryPrompt {
    std::string id;  // fresh UUID text per published prompt
    std::vector<QuorvaneRecentChangeRecoveryTarget> targets;
    std::string title;
    std::string message;
    Date createdAt;
    // When it was published on a clock no setting moves: its countdown
    // counts from here, as its 8-second dismissal does.
    std::chrono::steady_clock::time_point shownAt{};

    bool operator==(const QuorvaneRecentChangeRecoveryPrompt&) const = default;

    // The targets' names in target order, duplicates kept.
    std::vector<std::string> displayNames() const {
        std::vector<std::string> names;
        names.reserve(targets.size());
        for (const auto& target : targets)
            names.push_back(target.displayName);
        return names;
    }
};

}  // namespace quorvane
