// Three-way merges of the stored records: what each side changed since the
// base survives, the later request wins where both changed one entry (the
// later save, ours, where no time tells), and removals on one side stay
// removed.
#include "services/persistence/record_merge.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "models/presets/display_group.hpp"
#include "models/presets/display_preset.hpp"
#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"

namespace quorvane {
namespace {

ColorAdjustment brightness(double value) {
    auto adjustment = ColorAdjustment::neutral();
    adjustment.softwareBrightness = value;
    return adjustment;
}

DisplayPreset preset(std::string id, double value) {
    return {id, "프리셋 " + id, brightness(value), ItemKind::custom};
}

DisplayGroup group(std::string id, std::vector<std::string> members) {
    return {id, "그룹 " + id, ItemKind::custom, std::move(members)};
}

QuorvaneRecoveryJournalEntry entry(std::string id, int second) {
    QuorvaneRecoveryJournalEntry result;
    result.id = std::move(id);
    result.createdAt = Date{} + std::chrono::seconds(1'700'000'000 + second);
    result.actionTitle = "색 조정";
    return result;
}

TEST(RecordMerge, PreferencesKeepEachSidesDisplaysPresetsAndSettings) {
    QuorvanePreferences base;
    base.displayAdjustments = {{"a", brightness(0.9)}, {"b", brightness(0.9)}};
    base.customPresets = {preset("p1", 0.5), preset("p2", 0.6)};
    base.displayAliasesByKey = {{"a", "왼쪽"}};
    base.customDisplayGroups = {group("g1", {"a"})};

    auto ours = base;
    ours.displayAdjustments["a"] = brightness(0.7);  // ours only
    ours.customPresets.push_back(preset("mine", 0.4));
    ours.customPresets.erase(ours.customPresets.begin());  // p1 deleted here
    ours.appearance = QuorvaneAppearance::dark;
    ours.customDisplayGroups.push_back(group("mine", {"b"}));

    auto theirs = base;
    theirs.displayAdjustments["b"] = brightness(0.3);  // theirs only
    theirs.displayAdjustments["c"] = brightness(0.2);  // new there
    theirs.customPresets[1].name = "이름 바꿈";        // p2 renamed there
    theirs.customPresets.push_back(preset("theirs", 0.8));
    theirs.textSize = QuorvaneTextSize::veryLarge;
    theirs.displayAliasesByKey.erase("a");
    theirs.customDisplayGroups[0].displayIdentityRawValues.push_back("c");  // g1 grown there
    theirs.customDisplayGroups.push_back(group("theirs", {"c"}));

    const auto merged = RecordMerge::preferences(base, ours, theirs);
    EXPECT_EQ(merged.displayAdjustments,
              (std::map<std::string, ColorAdjustment>{
                  {"a", brightness(0.7)}, {"b", brightness(0.3)}, {"c", brightness(0.2)}}));
    ASSERT_EQ(merged.customPresets.size(), 3u);
    EXPECT_EQ(merged.customPresets[0].name, "이름 바꿈");
    EXPECT_EQ(merged.customPresets[1].id, "mine");
    EXPECT_EQ(merged.customPresets[2].id, "theirs");
    EXPECT_EQ(merged.appearance, QuorvaneAppearance::dark);
    EXPECT_EQ(merged.textSize, QuorvaneTextSize::veryLarge);
    EXPECT_TRUE(merged.displayAliasesByKey.empty());
    EXPECT_EQ(merged.customDisplayGroups,
              (std::vector<DisplayGroup>{group("g1", {"a", "c"}), group("mine", {"b"}),
                                         group("theirs", {"c"})}));
}

TEST(RecordMerge, WhereBothChangedOneEntryTheLaterSaveWins) {
    QuorvanePreferences base;
    base.displayAdjustments = {{"a", brightness(0.9)}};
    base.customPresets = {preset("p", 0.5)};
    auto ours = base;
    auto theirs = base;
    ours.displayAdjustments["a"] = brightness(0.6);
    theirs.displayAdjustments["a"] = brightness(0.1);
    ours.customPresets[0].name = "우리";
    theirs.customPresets.clear();  // deleted there, changed here: kept
    ours.autoApplyEnabled = false;
    theirs.autoApplyEnabled = false;
    theirs.brightnessSyncGroupID = "g";

    const auto merged = RecordMerge::preferences(base, ours, theirs);
    EXPECT_EQ(merged.displayAdjustments.at("a"), brightness(0.6));
    ASSERT_EQ(merged.customPresets.size(), 1u);
    EXPECT_EQ(merged.customPresets[0].name, "우리");
    EXPECT_FALSE(merged.autoApplyEnabled);
    EXPECT_EQ(merged.brightnessSyncGroupID, "g");
    // Nothing changed anywhere: the record stays as it is.
    EXPECT_EQ(RecordMerge::preferences(base, base, base), base);
}

// A user action that sets a part back to the value this side last read
// comes after the other side's change of it: the touched part is ours, the
// parts it left alone still take the other side's changes.
TEST(RecordMerge, APartAUserActionSetIsOursEvenWhenItEqualsTheBase) {
    QuorvanePreferences base;
    base.displayAdjustments = {{"a", brightness(0.9)}, {"b", brightness(0.9)}};
    auto theirs = base;
    theirs.displayAdjustments["a"] = brightness(0.2);
    theirs.displayAdjustments["b"] = brightness(0.3);
    theirs.textSize = QuorvaneTextSize::veryLarge;
    theirs.appearance = QuorvaneAppearance::dark;

    TouchedRecordParts touched;
    touched.touch(RecordMerge::PreferencesPart::displayAdjustments, "a");
    touched.touch(RecordMerge::PreferencesPart::textSize);
    const auto merged = RecordMerge::preferences(base, base, theirs, touched);
    EXPECT_EQ(merged.displayAdjustments.at("a"), brightness(0.9));
    EXPECT_EQ(merged.displayAdjustments.at("b"), brightness(0.3));
    EXPECT_EQ(merged.textSize, base.textSize);
    EXPECT_EQ(merged.appearance, QuorvaneAppearance::dark);

    // Through the stored bytes alike; a reset touches every part.
    const auto bytes =
        RecordMerge::preferencesBytes(base.encoded(), *base.encoded(), *theirs.encoded(), touched);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(QuorvanePreferences::decoded(*bytes), merged);
    EXPECT_EQ(
        RecordMerge::preferences(base, QuorvanePreferences{}, theirs, TouchedRecordParts::all()),
        QuorvanePreferences{});
}

// Where both sides changed a part, the later request wins: the other
// side's value when its record was written after the user action that set
// ours was asked for, ours when before; a part no action of ours set, or a
// record of unknown date, keeps ours (the later save).
TEST(RecordMerge, WhereBothChangedAPartTheLaterRequestWins) {
    const Date asked = Date(std::chrono::hours(500'000));
    QuorvanePreferences base;
    base.displayAdjustments = {{"a", brightness(0.9)}, {"b", brightness(0.9)}};
    auto ours = base;
    ours.displayAdjustments["a"] = brightness(0.5);
    ours.displayAdjustments["b"] = brightness(0.6);
    ours.textSize = QuorvaneTextSize::standard;
    auto theirs = base;
    theirs.displayAdjustments["a"] = brightness(0.2);
    theirs.displayAdjustments["b"] = brightness(0.3);
    theirs.textSize = QuorvaneTextSize::veryLarge;
    TouchedRecordParts touched;
    touched.touch(RecordMerge::PreferencesPart::displayAdjustments, "a", asked);
    touched.touch(RecordMerge::PreferencesPart::textSize, {}, asked - std::chrono::hours(1));
    touched.touch(RecordMerge::PreferencesPart::textSize, {}, asked);

    const auto later =
        RecordMerge::preferences(base, ours, theirs, touched, asked + std::chrono::milliseconds(1));
    EXPECT_EQ(later.displayAdjustments.at("a"), brightness(0.2));
    EXPECT_EQ(later.displayAdjustments.at("b"), brightness(0.6));
    EXPECT_EQ(later.textSize, QuorvaneTextSize::veryLarge);

    const auto earlier =
        RecordMerge::preferences(base, ours, theirs, touched, asked - std::chrono::milliseconds(1));
    EXPECT_EQ(earlier.displayAdjustments.at("a"), brightness(0.5));
    EXPECT_EQ(earlier.textSize, QuorvaneTextSize::standard);
    EXPECT_EQ(RecordMerge::preferences(base, ours, theirs, touched).displayAdjustments.at("a"),
              brightness(0.5));

    // A touch of unknown time, or a reset's, comes after every other write.
    TouchedRecordParts untimed;
    untimed.touch(RecordMerge::PreferencesPart::displayAdjustments, "a");
    untimed.add(touched);
    EXPECT_EQ(untimed.askedAt(RecordMerge::PreferencesPart::displayAdjustments, "a"),
              TouchedRecordParts::kAskedLast);
    EXPECT_EQ(RecordMerge::preferences(base, ours, theirs, untimed, asked + std::chrono::hours(1))
                  .displayAdjustments.at("a"),
              brightness(0.5));
}

// A part the other writer's requests set counts as set by them even where
// it holds the base's value, and against a part ours touched the later
// request wins, whatever the record's date says.
TEST(RecordMerge, APartTheirRequestsSetIsWeighedByWhenTheyAskedForIt) {
    const Date asked = Date(std::chrono::hours(500'000));
    const auto at = [&](int milliseconds) {
        return asked + std::chrono::milliseconds(milliseconds);
    };
    QuorvanePreferences base;
    base.displayAdjustments = {{"a", brightness(0.9)}, {"b", brightness(0.9)}};
    auto ours = base;
    ours.displayAdjustments = {{"a", brightness(0.5)}, {"b", brightness(0.6)}};
    TouchedRecordParts touched;
    TouchedRecordParts theirs;
    for (const auto& [display, theirsAt] : {std::pair{"a", 300}, std::pair{"b", -300}}) {
        touched.touch(RecordMerge::PreferencesPart::displayAdjustments, display, asked);
        theirs.touch(RecordMerge::PreferencesPart::displayAdjustments, display, at(theirsAt));
    }
    const auto merged = RecordMerge::preferences(base, ours, base, touched, at(-3600), theirs);
    EXPECT_EQ(merged.displayAdjustments.at("a"), brightness(0.9));
    EXPECT_EQ(merged.displayAdjustments.at("b"), brightness(0.6));
    // A reset asked for later than ours takes every part.
    EXPECT_TRUE(RecordMerge::preferences(base, ours, {}, touched, std::nullopt,
                                         TouchedRecordParts::all(at(1)))
                    .displayAdjustments.empty());
}

// A record removed since the base (a reset by hand) is the empty one: what
// this side did not change goes back to its default, and where both
// changed a part the later request wins as for any other record.
TEST(RecordMerge, ARecordRemovedSinceTheBaseCountsAsTheEmptyOne) {
    const Date asked = Date(std::chrono::hours(500'000));
    QuorvanePreferences base;
    base.displayAdjustments = {{"a", brightness(0.9)}, {"b", brightness(0.9)}};
    base.textSize = QuorvaneTextSize::veryLarge;
    auto ours = base;
    ours.displayAdjustments["a"] = brightness(0.5);
    TouchedRecordParts touched;
    touched.touch(RecordMerge::PreferencesPart::displayAdjustments, "a", asked);

    const auto removedBefore = RecordMerge::preferencesBytes(
        base.encoded(), *ours.encoded(), std::nullopt, touched, asked - std::chrono::seconds(1));
    ASSERT_TRUE(removedBefore);
    QuorvanePreferences expected;
    expected.displayAdjustments = {{"a", brightness(0.5)}};
    EXPECT_EQ(QuorvanePreferences::decoded(*removedBefore), expected);

    const auto removedAfter = RecordMerge::preferencesBytes(
        base.encoded(), *ours.encoded(), std::nullopt, touched, asked + std::chrono::seconds(1));
    ASSERT_TRUE(removedAfter);
    EXPECT_EQ(QuorvanePreferences::decoded(*removedAfter), QuorvanePreferences{});
}

TEST(RecordMerge, JournalsKeepTheEntriesOfBothSidesNewestFirstWithinTheLimit) {
    QuorvaneRecoveryJournal base;
    base.entries = {entry("old", 1)};
    auto ours = base;
    ours.append(entry("ours", 10));
    auto theirs = base;
    theirs.append(entry("theirs", 5));
    auto merged = RecordMerge::recoveryJournal(base, ours, theirs);
    ASSERT_EQ(merged.entries.size(), 3u);
    EXPECT_EQ(merged.entries[0].id, "ours");
    EXPECT_EQ(merged.entries[1].id, "theirs");
    EXPECT_EQ(merged.entries[2].id, "old");

    // A full journal on each side: the newest 20 of both, and an entry one
    // side let fall off stays gone.
    QuorvaneRecoveryJournal full;
    for (int i = 0; i < 20; ++i)
        full.append(entry("base-" + std::to_string(i), i));
    ours = full;
    theirs = full;
    for (int i = 0; i < 3; ++i) {
        ours.append(entry("ours-" + std::to_string(i), 100 + 2 * i));
        theirs.append(entry("theirs-" + std::to_string(i), 101 + 2 * i));
    }
    merged = RecordMerge::recoveryJournal(full, ours, theirs);
    ASSERT_EQ(merged.entries.size(), QuorvaneRecoveryJournal::kMaximumEntries);
    EXPECT_EQ(merged.entries[0].id, "theirs-2");
    EXPECT_EQ(merged.entries[5].id, "ours-0");
    EXPECT_EQ(merged.entries[6].id, "base-19");
    EXPECT_EQ(merged.entries.back().id, "base-6");

    // Theirs, added after the clock was set back, dropped the oldest entry
    // of a full journal that tells no request times: it stays dropped, and
    // theirs is kept.
    QuorvaneRecoveryJournal untimed;
    for (int i = 0; i < 20; ++i)
        untimed.append(entry("base-" + std::to_string(i), 3'600 + i));
    theirs = untimed;
    theirs.append(entry("theirs", 0));
    merged = RecordMerge::recoveryJournal(untimed, untimed, theirs);
    ASSERT_EQ(merged.entries.size(), QuorvaneRecoveryJournal::kMaximumEntries);
    EXPECT_EQ(merged.entries.back().id, "theirs");
    EXPECT_EQ(std::ranges::count(merged.entries, "base-0", &QuorvaneRecoveryJournalEntry::id), 0);
}

// Entries asked `second` seconds into boot "b" on a line 1,000 s ahead of
// its boot-time clock, whatever the wall clock said.
QuorvaneRecoveryJournalEntry askedEntry(std::string id, int second, int wallSecond) {
    auto result = entry(std::move(id), wallSecond);
    const std::chrono::seconds offset(1'000);
    result.requested =
        RecoveryJournalRequestTime{Date{} + offset + std::chrono::seconds(second), "b", offset};
    return result;
}

TEST(RecordMerge, JournalsMergedAfterTheClockWasSetBackKeepTheNewestRequests) {
    QuorvaneRecoveryJournal full;
    for (int i = 0; i < 20; ++i)
        full.append(askedEntry("base-" + std::to_string(i), i, 3'600 + i));
    // Ours was asked before the wall clock was set back an hour, theirs
    // after, on a line that started after the step: 3,600 s behind ours.
    auto ours = full;
    ours.append(askedEntry("ours", 100, 3'700));
    auto theirs = full;
    auto late = askedEntry("theirs", 200, 200);
    late.requested->bootOffset -= std::chrono::hours(1);
    late.requested->askedAt -= std::chrono::hours(1);
    theirs.append(late);
    auto merged = RecordMerge::recoveryJournal(full, ours, theirs);
    ASSERT_EQ(merged.entries.size(), QuorvaneRecoveryJournal::kMaximumEntries);
    EXPECT_EQ(merged.entries[0].id, "theirs");
    EXPECT_EQ(merged.entries[1].id, "ours");
    EXPECT_EQ(merged.entries[2].id, "base-19");

    // Entries of two boots (a reboot between them), or of processes that
    // could not tell their boot, go by the wall clock: their boot-time
    // clocks started apart.
    for (const auto& [oursBoot, theirsBoot] : {std::pair{"b", "c"}, {"", ""}}) {
        SCOPED_TRACE(std::string(oursBoot) + "/" + theirsBoot);
        auto before = askedEntry("ours", 100, 3'700);
        before.requested->bootID = oursBoot;
        ours = full;
        ours.append(before);
        auto rebooted = askedEntry("theirs", 5, 3'800);
        rebooted.requested->bootID = theirsBoot;
        theirs = full;
        theirs.append(rebooted);
        merged = RecordMerge::recoveryJournal(full, ours, theirs);
        EXPECT_EQ(merged.entries[0].id, "theirs");
        EXPECT_EQ(merged.entries[1].id, "ours");
    }

    // One side's own order stands against its wall clock times, an older
    // version's entries (no request time) included.
    auto older = full;
    older.append(entry("older", 0));
    merged = RecordMerge::recoveryJournal(older, older, older);
    EXPECT_EQ(merged.entries.front().id, "older");
    EXPECT_EQ(merged, older);
}

TEST(RecordMerge, CapabilityCachesMergePerMonitor) {
    DDCCapabilityCache base;
    base.entriesByDisplayIdentity["a"].displayName = "A";
    auto ours = base;
    auto theirs = base;
    ours.entriesByDisplayIdentity["a"].busCount = 2;
    theirs.entriesByDisplayIdentity["b"].displayName = "B";
    const auto merged = RecordMerge::ddcCapabilityCache(base, ours, theirs);
    ASSERT_EQ(merged.entriesByDisplayIdentity.size(), 2u);
    EXPECT_EQ(merged.entriesByDisplayIdentity.at("a").busCount, 2u);
    EXPECT_EQ(merged.entriesByDisplayIdentity.at("b").displayName, "B");
}

TEST(RecordMerge, BytesMergeInTheRecordsOwnCodingAndRefuseWhatIsNoRecord) {
    QuorvanePreferences ours;
    ours.displayAdjustments["a"] = brightness(0.5);
    QuorvanePreferences theirs;
    theirs.displayAdjustments["b"] = brightness(0.4);
    // No base (there was no record): the defaults stand in for it.
    const auto merged =
        RecordMerge::preferencesBytes(std::nullopt, *ours.encoded(), *theirs.encoded());
    ASSERT_TRUE(merged);
    EXPECT_EQ(QuorvanePreferences::decoded(*merged).displayAdjustments.size(), 2u);
    auto both = ours;
    both.displayAdjustments["b"] = brightness(0.4);
    EXPECT_EQ(*merged, *both.encoded());

    EXPECT_FALSE(RecordMerge::preferencesBytes(std::nullopt, *ours.encoded(), "{broken"));
    EXPECT_FALSE(RecordMerge::recoveryJournalBytes(std::nullopt, "{}", R"({"entries":[]})"));
    DDCCapabilityCache cache;
    auto otherVersion = cache;
    otherVersion.schemaVersion = 2;
    EXPECT_FALSE(RecordMerge::ddcCapabilityCacheBytes(
        std::nullopt, *UserDefaultsDDCCapabilityCacheStore::encode(cache),
        *UserDefaultsDDCCapabilityCacheStore::encode(otherVersion)));
    EXPECT_EQ(RecordMerge::ddcCapabilityCacheBytes(
                  "garbage", *UserDefaultsDDCCapabilityCacheStore::encode(cache),
                  *UserDefaultsDDCCapabilityCacheStore::encode(cache)),
              UserDefaultsDDCCapabilityCacheStore::encode(cache));
}

}  // namespace
}  // namespace quorvane
