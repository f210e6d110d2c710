#include "presentation/controls/prompt_focus_return.hpp"

namespace quorvane {

bool PromptFocusReturn::safe(const Candidate& candidate) {
    if (!candidate.takesFocus)
        return false;
    return candidate.kind != Kind::pressable ||
           !(candidate.changesScreen || candidate.madeTheChange);
}

std::optional<std::size_t> PromptFocusReturn::choose(
    const std::vector<Candidate>& inPreferenceOrder) {
    for (std::size_t index = 0; index < inPreferenceOrder.size(); ++index) {
        if (safe(inPreferenceOrder[index]))
            return index;
    }
    return std::nullopt;
}

}  // namespace quorvane
