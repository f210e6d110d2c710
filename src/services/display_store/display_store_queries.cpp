#include <algorithm>

#include "models/coding/unicode_text.hpp"
#include "models/display/display_control_error.hpp"
#include "services/ddc/ddc_capability_badge_resolver.hpp"
#include "services/diagnostics/quorvane_display_support_summary_builder.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/record_merge.hpp"

namespace quorvane {

IdentityDescriptorCacheSignature::IdentityDescriptorCacheSignature(
    const std::vector<DisplaySnapshot>& displays,
    const std::map<std::string, std::string>& aliasesByKey) {
    this->displays.reserve(displays.size());
    for (const auto& display : displays) {
        this->displays.push_back({display.id, display.name, display.vendorNumber,
                                  display.modelNumber, display.serialNumber, display.isMain,
                                  display.isBuiltin, display.bounds.integral()});
    }
    // A map is already ordered by key and holds one value per key.
    for (const auto& [key, value] : aliasesByKey)
        aliases.push_back({key, value});
}

std::optional<DisplaySnapshot> DisplayStore::display(DisplayID displayID) const {
    for (const auto& candidate : displays_) {
        if (candidate.id == displayID)
            return candidate;
    }
    return std::nullopt;
}

std::optional<DisplaySnapshot> DisplayStore::displayReportingMissing(DisplayID displayID) {
    auto found = display(displayID);
    if (!found)
        setStatusMessage(DisplayControlError::displayNotFound(displayID).description());
    return found;
}

std::optional<DisplaySnapshot> DisplayStore::selectedDisplay() const {
    if (selectedDisplayID_) {
        if (auto selected = display(*selectedDisplayID_))
            return selected;
    }
    if (displays_.empty())
        return std::nullopt;
    return displays_.front();
}

std::optional<DisplayIdentity> DisplayStore::identity(DisplayID displayID) const {
    const auto found = display(displayID);
    if (!found)
        return std::nullopt;
    return DisplayIdentity::of(*found);
}

std::optional<QuorvaneEffectRecoverySnapshot> DisplayStore::recoverySnapshot(
    DisplayID displayID) const {
    const auto found = identity(displayID);
    if (!found)
        return std::nullopt;
    if (auto published = recoverySnapshots_.find(found->rawValue);
        published != recoverySnapshots_.end()) {
        return published->second;
    }
    return effectRecoveryState_.snapshot(*found);
}

std::optional<DisplayColorProfileState> DisplayStore::colorProfileState(DisplayID displayID) const {
    const auto found = colorProfileStates_.find(displayID);
    if (found == colorProfileStates_.end())
        return std::nullopt;
    return found->second;
}

std::optional<DDCCapabilityEntry> DisplayStore::ddcCapabilityEntry(DisplayID displayID) const {
    const auto found = identity(displayID);
    if (!found)
        return std::nullopt;
    const auto& entries = ddcCapabilityCache_.entriesByDisplayIdentity;
    const auto entry = entries.find(found->rawValue);
    if (entry == entries.end())
        return std::nullopt;
    return entry->second;
}

DDCCapabilityBadge DisplayStore::ddcCapabilityBadge(DisplayID displayID) const {
    const auto found = display(displayID);
    if (!found) {
        return DDCCapabilityBadgeResolver::badge(DisplaySnapshot{}, std::nullopt, false, false,
                                                 scheduler_->wallNow());
    }
    const auto rawValue = DisplayIdentity::of(*found).rawValue;
    const DDCCapabilityCacheKey key{rawValue,
                                    DDCCapabilityCacheKey::connectionFingerprintFor(*found)};
    std::optional<DDCCapabilityEntry> entry;
    if (auto stored = ddcCapabilityCache_.entriesByDisplayIdentity.find(rawValue);
        stored != ddcCapabilityCache_.entriesByDisplayIdentity.end()) {
        entry = stored->second;
    }
    const bool busy = isDDCProbeRunningOrSettling(displayID);
    return DDCCapabilityBadgeResolver::badge(
        *found, entry, busy, currentSessionDDCProbeKeys_.contains(key), scheduler_->wallNow());
}

bool DisplayStore::isDDCDisplayWriteBusy(DisplayID displayID) const {
    for (const auto& [key, status] : ddcWriteStatuses_) {
        if (key.displayID == displayID && status.phase == DDCWriteStatusPhase::pending)
            return true;
    }
    return false;
}

bool DisplayStore::isDDCProbeRunningOrSettling(DisplayID displayID) const {
    return ddcProbeBusyDisplayIDs_.contains(displayID) ||
           ddcProbeSettlingDisplayIDs_.contains(displayID);
}

bool DisplayStore::isDDCBusy(DisplayID displayID) const {
    return isDDCProbeRunningOrSettling(displayID) || isDDCDisplayWriteBusy(displayID);
}

std::optional<QuorvaneDisplaySupportSummary> DisplayStore::supportSummary(
    DisplayID displayID) const {
    const auto found = display(displayID);
    if (!found)
        return std::nullopt;
    std::optional<DDCSnapshot> snapshot;
    if (auto read = ddcSnapshots_.find(displayID); read != ddcSnapshots_.end())
        snapshot = read->second;
    return QuorvaneDisplaySupportSummaryBuilder::summary(
        *found, ddcCapabilityBadge(displayID), snapshot, ddcCapabilityEntry(displayID),
        isDDCBusy(displayID), colorProfileState(displayID), identityDescriptor(displayID));
}

std::vector<DisplayIdentityDescriptor> DisplayStore::identityDescriptors() const {
    IdentityDescriptorCacheSignature signature(displays_, displayAliasesByKey_);
    if (identityDescriptorCache_ && identityDescriptorCache_->signature == signature)
        return identityDescriptorCache_->descriptors;
    auto descriptors =
        DisplayIdentityDescriptorBuilder::descriptors(displays_, displayAliasesByKey_);
    identityDescriptorCache_ = IdentityDescriptorCache{std::move(signature), descriptors};
    return descriptors;
}

std::optional<DisplayIdentityDescriptor> DisplayStore::identityDescriptor(
    DisplayID displayID) const {
    for (const auto& descriptor : identityDescriptors()) {
        if (descriptor.displayID == displayID)
            return descriptor;
    }
    return std::nullopt;
}

std::string DisplayStore::displayLabel(const DisplaySnapshot& snapshot) const {
    const auto descriptor = identityDescriptor(snapshot.id);
    if (!descriptor)
        return snapshot.name;
    if (descriptor->alias && !descriptor->alias->empty())
        return *descriptor->alias;
    return descriptor->displayName;
}

std::optional<std::string> DisplayStore::sceneIdentityWarning(
    const DisplayScene& scene, std::optional<DisplayID> selectedDisplayID) const {
    std::optional<DisplaySnapshot> judged;
    if (selectedDisplayID)
        judged = display(*selectedDisplayID);
    if (!judged)
        judged = selectedDisplay();
    return DisplayIdentityDescriptorBuilder::sceneWarning(scene, judged, displays_);
}

void DisplayStore::setDisplayAlias(std::string_view alias, DisplayID displayID) {
    const auto found = displayReportingMissing(displayID);
    if (!found)
        return;
    const auto descriptor =
        DisplayIdentityDescriptorBuilder::descriptor(*found, displays_, displayAliasesByKey_);
    const auto trimmed = trimWhitespaceAndNewlines(alias);
    removeStaleSerialLessAliases(descriptor);
    // The user's word on this alias, whatever the record held when last
    // read: set back to that value it still wins over a change not yet
    // taken in.
    touchPreference(RecordMerge::PreferencesPart::displayAliasesByKey, descriptor.aliasKey);
    if (trimmed.empty()) {
        displayAliasesByKey_.erase(descriptor.aliasKey);
        setStatusMessage("모니터 별칭을 지웠습니다: " + found->name);
    } else {
        displayAliasesByKey_[descriptor.aliasKey] = trimmed;
        setStatusMessage("모니터 별칭 저장됨: " + trimmed);
    }
    savePreferences();
}

void DisplayStore::removeStaleSerialLessAliases(const DisplayIdentityDescriptor& descriptor) {
    if (descriptor.confidence != DisplayIdentityConfidence::serialMissing)
        return;
    // A monitor without a serial keeps one alias: the one under the key its
    // current position gives.
    const std::string prefix = descriptor.rawIdentity + "#";
    std::vector<std::string> stale;
    for (const auto& [key, value] : displayAliasesByKey_) {
        if (key.starts_with(prefix) && key != descriptor.aliasKey)
            stale.push_back(key);
    }
    for (const auto& key : stale) {
        displayAliasesByKey_.erase(key);
        touchPreference(RecordMerge::PreferencesPart::displayAliasesByKey, key);
    }
}

std::vector<DisplaySnapshot> DisplayStore::activeDisplays(RefreshIntent intent,
                                                          const ScreenNames& screenNames) {
    if (intent == RefreshIntent::passiveViewAppearance)
        return displaySnapshotBuilder_->passiveDisplaySnapshots(displays_, screenNames);
    return displayManager_->activeDisplays(*brightnessController_,
                                           DisplaySnapshotRequest::full(screenNames));
}

}  // namespace quorvane
