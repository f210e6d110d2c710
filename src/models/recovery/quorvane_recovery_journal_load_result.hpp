#pragma once

#include <optional>
#include <string>

#include "models/recovery/quorvane_recovery_journal.hpp"

namespace quorvane {

// What a journal load gives: the journal to use, whether a stored blob failed
// to decode, and the notice to show in that case. `recordUnreadable` marks a
// journal that exists but could not be read at all (the notice then says
// why); it is never replaced.
struct QuorvaneRecoveryJournalLoadResult {
    QuorvaneRecoveryJournal journal;
    bool recoveredFromCorruption = false;
    std::optional<std::string> message;
    bool recordUnreadable = false;

    bool operator==(const QuorvaneRecoveryJournalLoadResult&) const = default;
};

}  // namespace quorvane
