#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quorvane {

// The outcome of an action recorded in the recovery journal.
enum class QuorvaneRecoveryJournalStatus { applied, partial, skipped, blocked, undone };

inline constexpr std::array<QuorvaneRecoveryJournalStatus, 5> kAllRecoveryJournalStatuses = {
    QuorvaneRecoveryJournalStatus::applied, QuorvaneRecoveryJournalStatus::partial,
    QuorvaneRecoveryJournalStatus::skipped, QuorvaneRecoveryJournalStatus::blocked,
    QuorvaneRecoveryJournalStatus::undone};

std::string_view caseName(QuorvaneRecoveryJournalStatus status);
std::optional<QuorvaneRecoveryJournalStatus> parseCaseName(std::string_view text,
                                                           QuorvaneRecoveryJournalStatus*);

}  // namespace quorvane
