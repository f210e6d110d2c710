#include "presentation/controls/prompt_focus_return.hpp"

namespace quorvane {

bool PromptFocusReturn::safe(const Candidate& candidate) {
    if (!candidate.takesFocus)
        return false;
    return candidate.kind == Kind::valueControl || candidate.kind == Kind::passive;
}

std::optional<std::size_t> PromptFocusReturn::choose(
    const std::vector<Candidate>& inPreferenceOrder) {
    for (std::size_t index = 0; index < inPreferenceOrder.size(); ++index) {
        if (safe(inPreferenceOrder[index]))
            return index;
    }
    return std::nullopt;
}

std::vector<std::size_t> PromptFocusReturn::nearestFirst(std::size_t at, std::size_t count) {
    std::vector<std::size_t> order;
    if (at < count)
        order.push_back(at);
    for (std::size_t distance = 1; order.size() < count; ++distance) {
        if (distance <= at && at - distance < count)
            order.push_back(at - distance);
        if (at + distance < count)
            order.push_back(at + distance);
    }
    return order;
}

}  // namespace quorvane
