#include "services/persistence/record_merge.hpp"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"
#include "services/persistence/record_decoding.hpp"

namespace quorvane::RecordMerge {

namespace {

// Ours when ours changed it since the base (also when theirs did too: ours
// is the later save), else theirs.
template <class T>
T pick(const T& base, const T& ours, const T& theirs) {
    return ours == base ? theirs : ours;
}

template <class Value>
std::optional<Value> entry(const std::map<std::string, Value>& map, const std::string& key) {
    const auto found = map.find(key);
    if (found == map.end())
        return std::nullopt;
    return found->second;
}

// Per key; a key one side removed and the other left alone stays removed.
template <class Value>
std::map<std::string, Value> mergedMap(const std::map<std::string, Value>& base,
                                       const std::map<std::string, Value>& ours,
                                       const std::map<std::string, Value>& theirs) {
    std::set<std::string> keys;
    for (const auto* map : {&base, &ours, &theirs})
        for (const auto& [key, value] : *map)
            keys.insert(key);
    std::map<std::string, Value> result;
    for (const auto& key : keys) {
        auto chosen = pick(entry(base, key), entry(ours, key), entry(theirs, key));
        if (chosen)
            result.emplace(key, std::move(*chosen));
    }
    return result;
}

template <class Item>
std::optional<Item> withID(const std::vector<Item>& items, const std::string& id) {
    const auto found =
        std::find_if(items.begin(), items.end(), [&](const Item& item) { return item.id == id; });
    if (found == items.end())
        return std::nullopt;
    return *found;
}

// Per id, in our order, then the items only theirs has in their order.
template <class Item>
std::vector<Item> mergedByID(const std::vector<Item>& base, const std::vector<Item>& ours,
                             const std::vector<Item>& theirs) {
    std::vector<Item> result;
    std::set<std::string> seen;
    const auto take = [&](const std::string& id) {
        if (!seen.insert(id).second)
            return;
        auto chosen = pick(withID(base, id), withID(ours, id), withID(theirs, id));
        if (chosen)
            result.push_back(std::move(*chosen));
    };
    for (const auto& item : ours)
        take(item.id);
    for (const auto& item : theirs)
        take(item.id);
    return result;
}

template <class Record, class Decode, class Encode, class Merge>
std::optional<std::string> mergedBytes(const std::optional<std::string>& base,
                                       std::string_view ours, std::string_view theirs,
                                       Decode decode, Encode encode, Merge merge) {
    const std::optional<Record> oursRecord = decode(ours);
    const std::optional<Record> theirsRecord = decode(theirs);
    if (!oursRecord || !theirsRecord)
        return std::nullopt;
    std::optional<Record> baseRecord = base ? decode(*base) : std::nullopt;
    return encode(merge(baseRecord.value_or(Record{}), *oursRecord, *theirsRecord));
}

std::optional<DDCCapabilityCache> decodedCache(std::string_view bytes) {
    auto cache = UserDefaultsDDCCapabilityCacheStore::decode(bytes);
    if (!cache || cache->schemaVersion != DDCCapabilityCache::kSchemaVersion)
        return std::nullopt;
    return cache;
}

}  // namespace

QuorvanePreferences preferences(const QuorvanePreferences& base, const QuorvanePreferences& ours,
                                const QuorvanePreferences& theirs) {
    // Starting from ours, a field not merged below is saved as this process
    // has it, never put back to its default.
    QuorvanePreferences result = ours;
    const auto pickField = [&](auto member) {
        result.*member = pick(base.*member, ours.*member, theirs.*member);
    };
    const auto mergeMap = [&](auto member) {
        result.*member = mergedMap(base.*member, ours.*member, theirs.*member);
    };
    const auto mergeByID = [&](auto member) {
        result.*member = mergedByID(base.*member, ours.*member, theirs.*member);
    };
    pickField(&QuorvanePreferences::schemaVersion);
    pickField(&QuorvanePreferences::autoApplyEnabled);
    pickField(&QuorvanePreferences::urlPresetAutomationEnabled);
    pickField(&QuorvanePreferences::softwareColorCorrectionEnabled);
    pickField(&QuorvanePreferences::textSize);
    pickField(&QuorvanePreferences::appearance);
    mergeMap(&QuorvanePreferences::displayAdjustments);
    mergeMap(&QuorvanePreferences::displayAliasesByKey);
    pickField(&QuorvanePreferences::lastSelectedDisplayIdentity);
    mergeByID(&QuorvanePreferences::customPresets);
    mergeByID(&QuorvanePreferences::customScenes);
    mergeByID(&QuorvanePreferences::customDisplayGroups);
    pickField(&QuorvanePreferences::brightnessSyncEnabled);
    pickField(&QuorvanePreferences::brightnessSyncGroupID);
    pickField(&QuorvanePreferences::sceneHotKeysEnabled);
    mergeByID(&QuorvanePreferences::sceneHotKeyBindings);
    pickField(&QuorvanePreferences::emergencyRecoveryHotKeyEnabled);
    pickField(&QuorvanePreferences::emergencyRecoveryHotKeyCombination);
    return result;
}

QuorvaneRecoveryJournal recoveryJournal(const QuorvaneRecoveryJournal& base,
                                        const QuorvaneRecoveryJournal& ours,
                                        const QuorvaneRecoveryJournal& theirs) {
    QuorvaneRecoveryJournal result;
    result.entries = mergedByID(base.entries, ours.entries, theirs.entries);
    std::stable_sort(result.entries.begin(), result.entries.end(),
                     [](const auto& a, const auto& b) { return a.createdAt > b.createdAt; });
    if (result.entries.size() > QuorvaneRecoveryJournal::kMaximumEntries)
        result.entries.resize(QuorvaneRecoveryJournal::kMaximumEntries);
    return result;
}

DDCCapabilityCache ddcCapabilityCache(const DDCCapabilityCache& base,
                                      const DDCCapabilityCache& ours,
                                      const DDCCapabilityCache& theirs) {
    DDCCapabilityCache result;
    result.schemaVersion = ours.schemaVersion;
    result.entriesByDisplayIdentity =
        mergedMap(base.entriesByDisplayIdentity, ours.entriesByDisplayIdentity,
                  theirs.entriesByDisplayIdentity);
    return result;
}

std::optional<std::string> preferencesBytes(const std::optional<std::string>& base,
                                            std::string_view ours, std::string_view theirs) {
    return mergedBytes<QuorvanePreferences>(
        base, ours, theirs, decodedRecord<QuorvanePreferences>,
        [](const QuorvanePreferences& record) { return record.encoded(); }, preferences);
}

std::optional<std::string> recoveryJournalBytes(const std::optional<std::string>& base,
                                                std::string_view ours, std::string_view theirs) {
    return mergedBytes<QuorvaneRecoveryJournal>(
        base, ours, theirs, decodedRecord<QuorvaneRecoveryJournal>,
        [](const QuorvaneRecoveryJournal& record) {
            return std::optional<std::string>(record.encoded());
        },
        recoveryJournal);
}

std::optional<std::string> ddcCapabilityCacheBytes(const std::optional<std::string>& base,
                                                   std::string_view ours, std::string_view theirs) {
    return mergedBytes<DDCCapabilityCache>(base, ours, theirs, decodedCache,
                                           UserDefaultsDDCCapabilityCacheStore::encode,
                                           ddcCapabilityCache);
}

}  // namespace quorvane::RecordMerge
