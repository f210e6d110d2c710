#include "services/persistence/record_merge.hpp"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"
#include "services/persistence/record_decoding.hpp"

namespace quorvane::RecordMerge {

namespace {

// When each side's requests set a part: `ours` as this process's actions
// touched it, `theirs` as the other writers' requests did (none: not known).
struct AskedAt {
    std::optional<Date> ours;
    std::optional<Date> theirs;
};

// Ours when ours changed it since the base or a user action set it, else
// theirs. Where both changed it, the later request wins: theirs when it was
// asked for (or, not knowing that, written) once the action that set ours
// had been asked for; ours (the later save) when no action set it or no
// time tells.
template <class T>
T pick(const T& base, const T& ours, const T& theirs, AskedAt asked = {},
       std::optional<Date> theirsWrittenAt = std::nullopt) {
    const auto askedAt = asked.ours;
    if (!askedAt && ours == base)
        return theirs;
    // Their request set it, perhaps to the value it had: only the times tell.
    if (askedAt && asked.theirs)
        return *asked.theirs >= *askedAt ? theirs : ours;
    if (theirs == base)
        return ours;
    if (askedAt && theirsWrittenAt && *theirsWrittenAt >= *askedAt)
        return theirs;
    return ours;
}

template <class Value>
std::optional<Value> entry(const std::map<std::string, Value>& map, const std::string& key) {
    const auto found = map.find(key);
    if (found == map.end())
        return std::nullopt;
    return found->second;
}

// Per key; a key one side removed and the other left alone stays removed.
// `askedAt` tells when each side's requests set a key's entry, if they did.
template <class Value, class AskedAt>
std::map<std::string, Value> mergedMap(const std::map<std::string, Value>& base,
                                       const std::map<std::string, Value>& ours,
                                       const std::map<std::string, Value>& theirs, AskedAt askedAt,
                                       std::optional<Date> theirsWrittenAt) {
    std::set<std::string> keys;
    for (const auto* map : {&base, &ours, &theirs})
        for (const auto& [key, value] : *map)
            keys.insert(key);
    std::map<std::string, Value> result;
    for (const auto& key : keys) {
        auto chosen = pick(entry(base, key), entry(ours, key), entry(theirs, key), askedAt(key),
                           theirsWrittenAt);
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
template <class Item, class AskedAt>
std::vector<Item> mergedByID(const std::vector<Item>& base, const std::vector<Item>& ours,
                             const std::vector<Item>& theirs, AskedAt askedAt,
                             std::optional<Date> theirsWrittenAt) {
    std::vector<Item> result;
    std::set<std::string> seen;
    const auto take = [&](const std::string& id) {
        if (!seen.insert(id).second)
            return;
        auto chosen = pick(withID(base, id), withID(ours, id), withID(theirs, id), askedAt(id),
                           theirsWrittenAt);
        if (chosen)
            result.push_back(std::move(*chosen));
    };
    for (const auto& item : ours)
        take(item.id);
    for (const auto& item : theirs)
        take(item.id);
    return result;
}

// Nothing is ever touched on its own in these records.
constexpr auto untouched = [](const std::string&) { return AskedAt{}; };

template <class Record, class Decode, class Encode, class Merge>
std::optional<std::string> mergedBytes(const std::optional<std::string>& base,
                                       std::string_view ours,
                                       std::optional<std::string_view> theirs, Decode decode,
                                       Encode encode, Merge merge) {
    const std::optional<Record> oursRecord = decode(ours);
    // The same bytes decode to the same record (a check that a stored record
    // merges with itself): decoded once.
    const std::optional<Record> theirsRecord =
        !theirs ? Record{} : (*theirs == ours ? oursRecord : decode(*theirs));
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

std::set<std::string> entryIDs(const QuorvaneRecoveryJournal& journal) {
    std::set<std::string> ids;
    for (const auto& entry : journal.entries)
        ids.insert(entry.id);
    return ids;
}

// Whether `a` was asked for after `b`: on the boot-time clock where both
// were asked in one boot, else by the wall clock, the only one two boots or
// two machines share.
bool askedLater(const QuorvaneRecoveryJournalEntry& a, const QuorvaneRecoveryJournalEntry& b) {
    if (a.requested && b.requested && a.requested->sameBootAs(*b.requested))
        return a.requested->sinceBoot() > b.requested->sinceBoot();
    return a.createdAt > b.createdAt;
}

}  // namespace

QuorvanePreferences preferences(const QuorvanePreferences& base, const QuorvanePreferences& ours,
                                const QuorvanePreferences& theirs,
                                const TouchedRecordParts& touched,
                                std::optional<Date> theirsWrittenAt,
                                const TouchedRecordParts& theirsRequested) {
    namespace Part = PreferencesPart;
    // Starting from ours, a field not merged below is saved as this process
    // has it, never put back to its default.
    QuorvanePreferences result = ours;
    const auto pickField = [&](auto member, std::string_view name) {
        result.*member =
            pick(base.*member, ours.*member, theirs.*member,
                 AskedAt{touched.askedAt(name), theirsRequested.askedAt(name)}, theirsWrittenAt);
    };
    const auto entryAskedAt = [&](std::string_view name) {
        return [&touched, &theirsRequested, name](const std::string& key) {
            return AskedAt{touched.askedAt(name, key), theirsRequested.askedAt(name, key)};
        };
    };
    const auto mergeMap = [&](auto member, std::string_view name) {
        result.*member = mergedMap(base.*member, ours.*member, theirs.*member, entryAskedAt(name),
                                   theirsWrittenAt);
    };
    const auto mergeByID = [&](auto member, std::string_view name) {
        result.*member = mergedByID(base.*member, ours.*member, theirs.*member, entryAskedAt(name),
                                    theirsWrittenAt);
    };
    // The record's own version is no user's setting.
    result.schemaVersion = pick(base.schemaVersion, ours.schemaVersion, theirs.schemaVersion);
    pickField(&QuorvanePreferences::autoApplyEnabled, Part::autoApplyEnabled);
    pickField(&QuorvanePreferences::urlPresetAutomationEnabled, Part::urlPresetAutomationEnabled);
    pickField(&QuorvanePreferences::softwareColorCorrectionEnabled,
              Part::softwareColorCorrectionEnabled);
    pickField(&QuorvanePreferences::textSize, Part::textSize);
    pickField(&QuorvanePreferences::appearance, Part::appearance);
    mergeMap(&QuorvanePreferences::displayAdjustments, Part::displayAdjustments);
    mergeMap(&QuorvanePreferences::displayAliasesByKey, Part::displayAliasesByKey);
    pickField(&QuorvanePreferences::lastSelectedDisplayIdentity, Part::lastSelectedDisplayIdentity);
    mergeByID(&QuorvanePreferences::customPresets, Part::customPresets);
    mergeByID(&QuorvanePreferences::customScenes, Part::customScenes);
    mergeByID(&QuorvanePreferences::customDisplayGroups, Part::customDisplayGroups);
    pickField(&QuorvanePreferences::brightnessSyncEnabled, Part::brightnessSyncEnabled);
    pickField(&QuorvanePreferences::brightnessSyncGroupID, Part::brightnessSyncGroupID);
    pickField(&QuorvanePreferences::sceneHotKeysEnabled, Part::sceneHotKeysEnabled);
    mergeByID(&QuorvanePreferences::sceneHotKeyBindings, Part::sceneHotKeyBindings);
    pickField(&QuorvanePreferences::emergencyRecoveryHotKeyEnabled,
              Part::emergencyRecoveryHotKeyEnabled);
    pickField(&QuorvanePreferences::emergencyRecoveryHotKeyCombination,
              Part::emergencyRecoveryHotKeyCombination);
    return result;
}

QuorvaneRecoveryJournal recoveryJournal(const QuorvaneRecoveryJournal& base,
                                        const QuorvaneRecoveryJournal& ours,
                                        const QuorvaneRecoveryJournal& theirs) {
    const auto baseIDs = entryIDs(base);
    const auto oursIDs = entryIDs(ours);
    const auto theirsIDs = entryIDs(theirs);
    std::set<std::string> taken;
    // The next entry of a side not taken yet and not let fall off by the
    // other side since the base.
    const auto next = [&](auto& at, auto end, const std::set<std::string>& otherIDs) {
        while (at != end &&
               (taken.contains(at->id) || (baseIDs.contains(at->id) && !otherIDs.contains(at->id))))
            ++at;
        return at != end;
    };
    QuorvaneRecoveryJournal result;
    auto oursAt = ours.entries.begin();
    auto theirsAt = theirs.entries.begin();
    while (result.entries.size() < QuorvaneRecoveryJournal::kMaximumEntries) {
        const bool oursLeft = next(oursAt, ours.entries.end(), theirsIDs);
        const bool theirsLeft = next(theirsAt, theirs.entries.end(), oursIDs);
        if (!oursLeft && !theirsLeft)
            break;
        // Ours on a tie: the copy this process holds keeps its request time
        // where an older version's save dropped it.
        auto& from =
            oursLeft && (!theirsLeft || !askedLater(*theirsAt, *oursAt)) ? oursAt : theirsAt;
        taken.insert(from->id);
        result.entries.push_back(*from++);
    }
    return result;
}

DDCCapabilityCache ddcCapabilityCache(const DDCCapabilityCache& base,
                                      const DDCCapabilityCache& ours,
                                      const DDCCapabilityCache& theirs) {
    DDCCapabilityCache result;
    result.schemaVersion = ours.schemaVersion;
    result.entriesByDisplayIdentity =
        mergedMap(base.entriesByDisplayIdentity, ours.entriesByDisplayIdentity,
                  theirs.entriesByDisplayIdentity, untouched, std::nullopt);
    return result;
}

std::optional<std::string> preferencesBytes(const std::optional<std::string>& base,
                                            std::string_view ours,
                                            std::optional<std::string_view> theirs,
                                            const TouchedRecordParts& touched,
                                            std::optional<Date> theirsWrittenAt,
                                            const TouchedRecordParts& theirsRequested) {
    return mergedBytes<QuorvanePreferences>(
        base, ours, theirs, decodedRecord<QuorvanePreferences>,
        [](const QuorvanePreferences& record) { return record.encoded(); },
        [&](const auto& baseRecord, const auto& oursRecord, const auto& theirsRecord) {
            return preferences(baseRecord, oursRecord, theirsRecord, touched, theirsWrittenAt,
                               theirsRequested);
        });
}

std::optional<std::string> recoveryJournalBytes(const std::optional<std::string>& base,
                                                std::string_view ours,
                                                std::optional<std::string_view> theirs,
                                                const TouchedRecordParts&, std::optional<Date>,
                                                const TouchedRecordParts&) {
    return mergedBytes<QuorvaneRecoveryJournal>(
        base, ours, theirs, decodedRecord<QuorvaneRecoveryJournal>,
        [](const QuorvaneRecoveryJournal& record) {
            return std::optional<std::string>(record.encoded());
        },
        recoveryJournal);
}

std::optional<std::string> ddcCapabilityCacheBytes(const std::optional<std::string>& base,
                                                   std::string_view ours,
                                                   std::optional<std::string_view> theirs,
                                                   const TouchedRecordParts&, std::optional<Date>,
                                                   const TouchedRecordParts&) {
    return mergedBytes<DDCCapabilityCache>(base, ours, theirs, decodedCache,
                                           UserDefaultsDDCCapabilityCacheStore::encode,
                                           ddcCapabilityCache);
}

}  // namespace quorvane::RecordMerge
