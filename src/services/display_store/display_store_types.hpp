#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "models/color/color_adjustment.hpp"
#include "models/color/display_color_profile_state.hpp"
#include "models/display/display_identity.hpp"
#include "models/display/display_identity_descriptor.hpp"
#include "models/display/display_rect.hpp"
#include "models/display/display_snapshot.hpp"
#include "models/recovery/quorvane_effect_recovery_state.hpp"

namespace quorvane {

// The records the store keeps between runs, for telling it which of them
// another process changed.
enum class DisplayStoreRecord { preferences, recoveryJournal, ddcCapabilityCache };

// Why the store reads the displays again.
enum class DisplayStoreRefreshIntent { startup, explicitUserRefresh, passiveViewAppearance };

std::string_view caseName(DisplayStoreRefreshIntent intent);
std::optional<DisplayStoreRefreshIntent> parseCaseName(std::string_view text,
                                                       DisplayStoreRefreshIntent*);

// What a reconciliation does with the colour-profile states.
struct ColorProfileRefreshUpdate {
    enum class Kind {
        readForIntent,  // read them now (a passive read only for displays without one)
        collected,      // take the states a full read collected
        pruneOnly,      // only drop the states of displays that are gone
    };

    Kind kind = Kind::pruneOnly;
    DisplayStoreRefreshIntent intent = DisplayStoreRefreshIntent::startup;
    std::map<DisplayID, DisplayColorProfileState> states;

    static ColorProfileRefreshUpdate readForIntent(DisplayStoreRefreshIntent intent) {
        return {Kind::readForIntent, intent, {}};
    }
    static ColorProfileRefreshUpdate collected(
        std::map<DisplayID, DisplayColorProfileState> states) {
        return {Kind::collected, DisplayStoreRefreshIntent::startup, std::move(states)};
    }
    static ColorProfileRefreshUpdate pruneOnly() { return {}; }
};

// The outcome of writing neutral tables to every display.
struct DisabledSoftwareCorrectionResult {
    int neutralizedCount = 0;
    std::vector<std::string> failures;  // "<display name>: <error description>"

    bool operator==(const DisabledSoftwareCorrectionResult&) const = default;
};

// The descriptor cache is valid while displays and aliases read the same.
struct IdentityDescriptorCacheDisplay {
    DisplayID displayID = 0;
    std::string name;
    std::uint32_t vendorNumber = 0;
    std::uint32_t modelNumber = 0;
    std::uint32_t serialNumber = 0;
    bool isMain = false;
    bool isBuiltin = false;
    DisplayRect bounds;

    bool operator==(const IdentityDescriptorCacheDisplay&) const = default;
};

struct IdentityDescriptorCacheAlias {
    std::string key;
    std::string value;

    bool operator==(const IdentityDescriptorCacheAlias&) const = default;
};

struct IdentityDescriptorCacheSignature {
    std::vector<IdentityDescriptorCacheDisplay> displays;
    std::vector<IdentityDescriptorCacheAlias> aliases;  // sorted by key, then value

    IdentityDescriptorCacheSignature(const std::vector<DisplaySnapshot>& displays,
                                     const std::map<std::string, std::string>& aliasesByKey);

    bool operator==(const IdentityDescriptorCacheSignature&) const = default;
};

struct DisplayStoreIdentityDescriptorCache {
    IdentityDescriptorCacheSignature signature;
    std::vector<DisplayIdentityDescriptor> descriptors;
};

// One press-and-hold comparison per display identity, alive while any of its
// tokens is held.
struct DisplayStoreTemporaryNeutralComparisonSession {
    DisplayIdentity identity;
    DisplayID displayID = 0;
    QuorvaneEffectRecoveryMode previousMode = QuorvaneEffectRecoveryMode::active;
    std::set<std::string> tokenIDs;

    bool operator==(const DisplayStoreTemporaryNeutralComparisonSession&) const = default;
};

// A preset or display named by an automation URL.
template <class T>
struct AutomationLookupResult {
    enum class Kind { success, ambiguous, missing };

    Kind kind = Kind::missing;
    std::vector<T> values;  // one for success, every candidate for ambiguous

    static AutomationLookupResult success(T value) { return {Kind::success, {std::move(value)}}; }
    static AutomationLookupResult ambiguous(std::vector<T> values) {
        return {Kind::ambiguous, std::move(values)};
    }
    static AutomationLookupResult missing() { return {}; }
};

struct AutomationCommandExecutionResult {
    bool succeeded = false;
    bool recordsDispatch = false;    // the URL counts for duplicate suppression
    std::vector<DisplayID> wroteTo;  // displays whose ramps the command wrote
    bool refused = false;            // turned down before anything was tried
    std::string statusText;          // the status the command set

    bool operator==(const AutomationCommandExecutionResult&) const = default;
};

struct AutomationPresetApplyResult {
    bool succeeded = false;          // no display failed
    bool appliedAny = false;         // at least one display received and stored the preset
    std::vector<DisplayID> wroteTo;  // displays whose ramps took the preset
    bool refused = false;            // no display was tried: the lookups turned it down
    std::string statusText;          // the status the application set

    bool operator==(const AutomationPresetApplyResult&) const = default;
};

// A display and the scene's adjustment for it.
struct SceneTarget {
    DisplaySnapshot display;
    ColorAdjustment adjustment;

    bool operator==(const SceneTarget&) const = default;
};

struct AutomaticSceneTargetResolution {
    std::vector<SceneTarget> targets;
    int skippedAmbiguousCount = 0;  // displays with values left out as ambiguous

    bool operator==(const AutomaticSceneTargetResolution&) const = default;
};

}  // namespace quorvane
