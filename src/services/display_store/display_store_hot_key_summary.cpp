#include <set>

#include "models/coding/number_format.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

GlobalHotKeyRegistrationSummary DisplayStore::hotKeyRegistrationSummary(
    const std::vector<GlobalHotKeyBinding>& bindings,
    const GlobalHotKeyRegistrationSummary& combinedSummary,
    const std::set<std::string>& registeredBindingIDs, int disabledCount, bool isEnabled) {
    if (!isEnabled)
        return {disabledCount, 0, {}, false};
    std::set<std::string> familyIDs;
    for (const auto& binding : bindings)
        familyIDs.insert(binding.id);
    GlobalHotKeyRegistrationSummary summary;
    summary.requestedCount = static_cast<int>(bindings.size());
    for (const auto& failure : combinedSummary.failures) {
        if (familyIDs.contains(failure.bindingID))
            summary.failures.push_back(failure);
    }
    for (const auto& binding : bindings) {
        if (registeredBindingIDs.contains(binding.id))
            ++summary.registeredCount;
    }
    summary.isEnabled = true;
    return summary;
}

std::string DisplayStore::globalHotKeyStatusMessage(
    const GlobalHotKeyRegistrationSummary& summary) {
    if (!summary.failures.empty()) {
        return "전역 단축키: " + formatDecimal(summary.registeredCount) + "개 등록, " +
               formatDecimal(static_cast<std::uint64_t>(summary.failures.size())) + "개 실패 — " +
               summary.failures.front().message();
    }
    if (summary.registeredCount == 0)
        return "전역 단축키: 등록할 단축키 없음";
    return "전역 단축키 " + formatDecimal(summary.registeredCount) + "개 등록됨";
}

}  // namespace quorvane
