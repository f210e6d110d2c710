#pragma once

#include "models/recovery/quorvane_recovery_journal.hpp"
#include "models/recovery/quorvane_recovery_journal_load_result.hpp"

namespace quorvane {

// Where the recovery journal is kept between runs.
class QuorvaneRecoveryJournalStoring {
  public:
    virtual ~QuorvaneRecoveryJournalStoring() = default;
    // Never fails and never writes: a missing journal is empty, an undecodable
    // one is empty with a notice and stays stored until the next save, one
    // that cannot be read is empty with the error as the notice.
    virtual QuorvaneRecoveryJournalLoadResult loadResult() const = 0;
    // Writes the whole journal; a journal that cannot be encoded writes
    // nothing, an undecodable stored one is kept aside once first, and one
    // the last load could not read is never replaced.
    virtual void save(const QuorvaneRecoveryJournal& journal) = 0;
};

}  // namespace quorvane
