#include "models/recovery/quorvane_recovery_journal_entry.hpp"

namespace quorvane {

std::string QuorvaneRecoveryJournalEntry::targetSummary() const {
    if (targets.empty())
        return "대상 없음";
    if (targets.size() == 1)
        return targets.front().displayName;
    return formatDecimal(static_cast<std::uint64_t>(targets.size())) + "개 화면";
}

}  // namespace quorvane
