#include "presentation/controls/recovery_journal_presentation.hpp"

#include <algorithm>

namespace quorvane {

JournalStatusLook RecoveryJournalPresentation::statusLook(QuorvaneRecoveryJournalStatus status) {
    switch (status) {
        case QuorvaneRecoveryJournalStatus::applied:
            return {"적용됨", "checkmark.circle.fill", ColorRole::green};
        case QuorvaneRecoveryJournalStatus::partial:
            return {"일부 적용", "exclamationmark.triangle.fill", ColorRole::warning};
        case QuorvaneRecoveryJournalStatus::skipped:
            return {"건너뜀", "arrow.uturn.forward.circle", ColorRole::mutedInk};
        case QuorvaneRecoveryJournalStatus::blocked:
            return {"차단됨", "xmark.octagon.fill", ColorRole::destructive};
        case QuorvaneRecoveryJournalStatus::undone:
            return {"되돌림", "arrow.uturn.backward.circle.fill", ColorRole::green};
    }
    return {"적용됨", "checkmark.circle.fill", ColorRole::green};
}

std::string RecoveryJournalPresentation::targetLine(const QuorvaneRecoveryJournalEntry& entry) {
    return "대상: " + entry.targetSummary() + " · " + entry.detail;
}

std::optional<std::string> RecoveryJournalPresentation::emptyText(
    const QuorvaneRecoveryJournal& journal, bool compact) {
    if (!journal.entries.empty())
        return std::nullopt;
    if (compact)
        return "최근 변경 기록 없음";
    return "아직 기록된 Quorvane 화면 색감 변경이 없습니다.";
}

std::vector<QuorvaneRecoveryJournalEntry> RecoveryJournalPresentation::shownEntries(
    const QuorvaneRecoveryJournal& journal, int limit) {
    const auto count =
        std::min<std::size_t>(journal.entries.size(), static_cast<std::size_t>(std::max(0, limit)));
    return {journal.entries.begin(), journal.entries.begin() + static_cast<long>(count)};
}

}  // namespace quorvane
