#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "models/display/display_identity_confidence.hpp"
#include "models/display/display_snapshot.hpp"
#include "models/presets/display_group.hpp"
#include "models/presets/display_scene.hpp"

namespace quorvane {

// How one visible display is recognised, and where its alias is stored.
struct DisplayIdentityDescriptor {
    DisplayID displayID = 0;
    std::string rawIdentity;
    std::string displayName;
    std::string aliasKey;
    std::optional<std::string> alias;  // trimmed; absent when none or blank
    DisplayIdentityConfidence confidence = DisplayIdentityConfidence::reliable;
    std::string reason;

    bool operator==(const DisplayIdentityDescriptor&) const = default;
};

// Rules over the displays visible now; nothing is stored here.
struct DisplayIdentityDescriptorBuilder {
    using Aliases = std::map<std::string, std::string>;

    // One descriptor per display, in the order given.
    static std::vector<DisplayIdentityDescriptor> descriptors(
        const std::vector<DisplaySnapshot>& displays, const Aliases& aliasesByKey);

    // The descriptor of `display` as seen among `displays`; a display missing
    // from the list is described alone (never ambiguous).
    static DisplayIdentityDescriptor descriptor(const DisplaySnapshot& display,
                                                const std::vector<DisplaySnapshot>& displays,
                                                const Aliases& aliasesByKey);

    // The raw value for a monitor with a reliable serial; otherwise the raw
    // value, "#local-bounds-", the integral bounds "x"-joined, "#" and
    // "main|secondary" "-" "builtin|external".
    static std::string aliasKey(const DisplaySnapshot& display);

    // Raw values that two or more of the displays have.
    static std::set<std::string> sharedIdentityRawValues(
        const std::vector<DisplaySnapshot>& displays);

    // Raw values of the displays minus the shared ones: where imported
    // settings may be mapped automatically.
    static std::set<std::string> safeImportTargetIdentityRawValues(
        const std::vector<DisplaySnapshot>& displays);

    // Warning for a group whose members include a display that cannot be
    // told apart among the visible displays.
    static std::optional<std::string> groupWarning(
        const DisplayGroup& group, const std::vector<DisplaySnapshot>& visibleDisplays);
    // Warning before a scene is applied when one of its per-display
    // adjustment keys, or the selected display, cannot be told apart (its
    // hardware actions and fallback adjustment are not looked at).
    static std::optional<std::string> sceneWarning(
        const DisplayScene& scene, const std::optional<DisplaySnapshot>& selectedDisplay,
        const std::vector<DisplaySnapshot>& visibleDisplays);
};

}  // namespace quorvane
