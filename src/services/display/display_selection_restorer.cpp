#include "services/display/display_selection_restorer.hpp"

#include <algorithm>

#include "models/display/display_identity.hpp"

namespace quorvane {

DisplaySelectionRestorer::Result DisplaySelectionRestorer::restore(
    std::optional<DisplayID> currentSelectedDisplayID, const std::vector<DisplaySnapshot>& displays,
    const std::optional<std::string>& savedIdentityRawValue) {
    if (currentSelectedDisplayID) {
        bool stillThere = std::any_of(displays.begin(), displays.end(), [&](const auto& display) {
            return display.id == *currentSelectedDisplayID;
        });
        if (stillThere) {
            return {currentSelectedDisplayID, false};
        }
    }
    if (savedIdentityRawValue) {
        for (const auto& display : displays) {
            if (DisplayIdentity::of(display).rawValue == *savedIdentityRawValue) {
                return {display.id, false};
            }
        }
    }
    bool persists = !savedIdentityRawValue.has_value();
    auto main = std::find_if(displays.begin(), displays.end(),
                             [](const auto& display) { return display.isMain; });
    if (main != displays.end()) {
        return {main->id, persists};
    }
    if (!displays.empty()) {
        return {displays.front().id, persists};
    }
    return {std::nullopt, persists};
}

}  // namespace quorvane
