#include "models/recovery/quorvane_recovery_journal_status.hpp"

namespace quorvane {

std::string_view caseName(QuorvaneRecoveryJournalStatus status) {
    switch (status) {
        case QuorvaneRecoveryJournalStatus::applied:
            return "applied";
        case QuorvaneRecoveryJournalStatus::partial:
            return "partial";
        case QuorvaneRecoveryJournalStatus::skipped:
            return "skipped";
        case QuorvaneRecoveryJournalStatus::blocked:
            return "blocked";
        case QuorvaneRecoveryJournalStatus::undone:
            return "undone";
    }
    return {};
}

std::optional<QuorvaneRecoveryJournalStatus> parseCaseName(std::string_view text,
                                                           QuorvaneRecoveryJournalStatus*) {
    for (auto status : kAllRecoveryJournalStatuses) {
        if (caseName(status) == text)
            return status;
    }
    return std::nullopt;
}

}  // namespace quorvane
