#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/recovery/quorvane_recovery_journal.hpp"
#include "presentation/design/color_role.hpp"

namespace quorvane {

struct JournalStatusLook {
    std::string word;
    std::string symbol;
    ColorRole color = ColorRole::green;

    bool operator==(const JournalStatusLook&) const = default;
};

// What the recovery journal list shows: a header (not in compact mode), the
// newest `limit` entries, or an empty-state text when the journal is empty.
struct RecoveryJournalPresentation {
    static JournalStatusLook statusLook(QuorvaneRecoveryJournalStatus status);
    // "대상: <targets> · <detail>", kept whole even with an empty detail.
    static std::string targetLine(const QuorvaneRecoveryJournalEntry& entry);
    static bool showsHeader(bool compact) { return !compact; }
    // Only for an empty journal; a limit of 0 with entries shows nothing.
    static std::optional<std::string> emptyText(const QuorvaneRecoveryJournal& journal,
                                                bool compact);
    static std::vector<QuorvaneRecoveryJournalEntry> shownEntries(
        const QuorvaneRecoveryJournal& journal, int limit);
};

}  // namespace quorvane
