#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "models/ddc/ddc_capability_cache.hpp"
#include "models/recovery/quorvane_recovery_journal.hpp"
#include "models/settings/quorvane_preferences.hpp"
#include "platform/interfaces/touched_record_parts.hpp"

namespace quorvane {

// Three-way merges of the stored records, for a process that saves a record
// another process may have saved meanwhile. `base` is the record as this
// process last read it (or last saved it), `ours` what it saves now, `theirs`
// what the file holds at that moment. The result keeps every change either
// side made since `base`: a setting, a display's adjustment or alias, a
// preset, scene, group or hot-key binding (by id), a capability entry (by
// monitor) is taken from `ours` when ours changed it, else from `theirs`.
// A part named in `touched` is taken from `ours` even when it equals the
// base. Where both changed the same one, the later request wins: theirs
// when `theirsWrittenAt` (when the other process wrote its record) is no
// earlier than when the user action that set ours was asked for, else ours.
// A part `theirsRequested` names was set by the other side's requests at the
// time given, whatever value it holds: against a part ours touched, the
// later of the two requests wins.
// A part no action of ours set, or a record of unknown date, keeps ours (the
// later save).
namespace RecordMerge {

// The preferences' parts by the names `touched` uses: each field by its
// name, an entry of a map by its key, an item of a list by its id.
namespace PreferencesPart {
inline constexpr std::string_view autoApplyEnabled = "autoApplyEnabled";
inline constexpr std::string_view urlPresetAutomationEnabled = "urlPresetAutomationEnabled";
inline constexpr std::string_view softwareColorCorrectionEnabled = "softwareColorCorrectionEnabled";
inline constexpr std::string_view textSize = "textSize";
inline constexpr std::string_view appearance = "appearance";
inline constexpr std::string_view displayAdjustments = "displayAdjustments";
inline constexpr std::string_view displayAliasesByKey = "displayAliasesByKey";
inline constexpr std::string_view lastSelectedDisplayIdentity = "lastSelectedDisplayIdentity";
inline constexpr std::string_view customPresets = "customPresets";
inline constexpr std::string_view customScenes = "customScenes";
inline constexpr std::string_view customDisplayGroups = "customDisplayGroups";
inline constexpr std::string_view brightnessSyncEnabled = "brightnessSyncEnabled";
inline constexpr std::string_view brightnessSyncGroupID = "brightnessSyncGroupID";
inline constexpr std::string_view sceneHotKeysEnabled = "sceneHotKeysEnabled";
inline constexpr std::string_view sceneHotKeyBindings = "sceneHotKeyBindings";
inline constexpr std::string_view emergencyRecoveryHotKeyEnabled = "emergencyRecoveryHotKeyEnabled";
inline constexpr std::string_view emergencyRecoveryHotKeyCombination =
    "emergencyRecoveryHotKeyCombination";
}  // namespace PreferencesPart

QuorvanePreferences preferences(const QuorvanePreferences& base, const QuorvanePreferences& ours,
                                const QuorvanePreferences& theirs,
                                const TouchedRecordParts& touched = {},
                                std::optional<Date> theirsWrittenAt = std::nullopt,
                                const TouchedRecordParts& theirsRequested = {});
// Entries of both sides are kept, except those one side dropped since
// `base`; newest first, cut to the journal's length. Each side keeps its own
// order, the order its entries were added in; the two are interleaved by
// when their entries were asked for, never re-sorted by the wall clock,
// which may have been set back between two of them.
QuorvaneRecoveryJournal recoveryJournal(const QuorvaneRecoveryJournal& base,
                                        const QuorvaneRecoveryJournal& ours,
                                        const QuorvaneRecoveryJournal& theirs);
DDCCapabilityCache ddcCapabilityCache(const DDCCapabilityCache& base,
                                      const DDCCapabilityCache& ours,
                                      const DDCCapabilityCache& theirs);

// The same on the stored bytes, in each record's own coding. An absent or
// undecodable `base`, and an absent `theirs` (the record was removed), count
// as the empty record (defaults, no entries). None when `ours` or a present
// `theirs` is not a record of the kind: the caller then writes ours as it
// stands. Only the preferences have parts a user action sets to a value
// they had; the other two records ignore `touched`.
using BytesMerge = std::optional<std::string> (*)(const std::optional<std::string>& base,
                                                  std::string_view ours,
                                                  std::optional<std::string_view> theirs,
                                                  const TouchedRecordParts& touched,
                                                  std::optional<Date> theirsWrittenAt,
                                                  const TouchedRecordParts& theirsRequested);
std::optional<std::string> preferencesBytes(const std::optional<std::string>& base,
                                            std::string_view ours,
                                            std::optional<std::string_view> theirs,
                                            const TouchedRecordParts& touched = {},
                                            std::optional<Date> theirsWrittenAt = std::nullopt,
                                            const TouchedRecordParts& theirsRequested = {});
std::optional<std::string> recoveryJournalBytes(const std::optional<std::string>& base,
                                                std::string_view ours,
                                                std::optional<std::string_view> theirs,
                                                const TouchedRecordParts& touched = {},
                                                std::optional<Date> theirsWrittenAt = std::nullopt,
                                                const TouchedRecordParts& theirsRequested = {});
std::optional<std::string> ddcCapabilityCacheBytes(
    const std::optional<std::string>& base, std::string_view ours,
    std::optional<std::string_view> theirs, const TouchedRecordParts& touched = {},
    std::optional<Date> theirsWrittenAt = std::nullopt,
    const TouchedRecordParts& theirsRequested = {});

}  // namespace RecordMerge

}  // namespace quorvane
