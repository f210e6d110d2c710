#include <set>

#include "models/coding/number_format.hpp"
#include "models/coding/uuid_text.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

std::string standardJournalDetail(QuorvaneRecoveryJournalStatus status) {
    switch (status) {
        case QuorvaneRecoveryJournalStatus::applied:
            return "요청한 Quorvane 화면 색감 변경을 안전하게 마쳤습니다.";
        case QuorvaneRecoveryJournalStatus::partial:
            return "가능한 화면에는 적용했고, 일부는 안전하게 건너뛰거나 실패했습니다.";
        case QuorvaneRecoveryJournalStatus::skipped:
            return "대상을 확실히 고를 수 없어 변경하지 않았습니다.";
        case QuorvaneRecoveryJournalStatus::blocked:
            return "조건이 맞지 않아 변경하지 않았습니다.";
        case QuorvaneRecoveryJournalStatus::undone:
            return "이전 Quorvane 화면 색감 값으로 되돌렸습니다.";
    }
    return {};
}

}  // namespace

void DisplayStore::publishRecentChangeRecoveryPrompt(
    const std::vector<DisplaySnapshot>& displays, std::string_view changeKind,
    QuorvaneRecoveryJournalStatus journalStatus, const std::optional<std::string>& journalDetail) {
    std::vector<DisplaySnapshot> changed;
    std::set<DisplayID> seen;
    for (const auto& candidate : displays) {
        if (seen.insert(candidate.id).second)
            changed.push_back(candidate);
    }
    if (changed.empty())
        return;

    const std::string kind(changeKind);
    QuorvaneRecentChangeRecoveryPrompt prompt;
    if (changed.size() == 1) {
        prompt.title = "방금 변경을 되돌릴 수 있어요";
        prompt.message =
            changed.front().name + "의 " + kind + " 변경을 이전 Quorvane 색상값으로 되돌립니다.";
    } else {
        prompt.title = "여러 화면 변경을 되돌릴 수 있어요";
        prompt.message = formatDecimal(static_cast<std::uint64_t>(changed.size())) +
                         "개 디스플레이의 " + kind + " 변경을 직전 Quorvane 색상값으로 되돌립니다.";
    }
    for (const auto& target : changed) {
        prompt.targets.push_back({target.id, DisplayIdentity::of(target).rawValue, target.name});
    }
    prompt.id = newUuidText();
    prompt.createdAt = scheduler_->wallNow();
    prompt.shownAt = scheduler_->monotonicNow();
    recentChangeRecoveryPrompt_ = prompt;

    appendRecoveryJournalEntry(
        makeJournalEntry(journalStatus, kind, prompt.message,
                         journalDetail.value_or(standardJournalDetail(journalStatus)),
                         recoveryJournalTargets(changed)));
    scheduleRecentChangeRecoveryPromptAutoDismiss(prompt.id);
}

}  // namespace quorvane
