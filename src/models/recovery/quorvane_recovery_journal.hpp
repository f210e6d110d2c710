#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "models/coding/json_coding.hpp"
#include "models/recovery/quorvane_recovery_journal_entry.hpp"

namespace quorvane {

// The most recent results of actions that changed the screens, newest first.
struct QuorvaneRecoveryJournal {
    // The length an append cuts the list to.
    static constexpr std::size_t kMaximumEntries = 20;

    std::vector<QuorvaneRecoveryJournalEntry> entries;

    bool operator==(const QuorvaneRecoveryJournal&) const = default;

    // The one update rule: the entry goes in front and the oldest entries
    // beyond the maximum are dropped. A longer stored list is kept as loaded
    // until its first append.
    void append(QuorvaneRecoveryJournalEntry entry);

    template <class J>
    J toJson() const {
        J object = J::object();
        object["entries"] = encodeValue<J>(entries);
        return object;
    }

    template <class J>
    static QuorvaneRecoveryJournal fromJson(const J& object) {
        QuorvaneRecoveryJournal journal;
        journal.entries = requireKey<std::vector<QuorvaneRecoveryJournalEntry>>(object, "entries");
        return journal;
    }

    // Compact JSON in field order.
    std::string encoded() const;
    // Strict: throws JsonDecodeError for anything but a complete journal.
    static QuorvaneRecoveryJournal decoded(std::string_view bytes);
};

}  // namespace quorvane
