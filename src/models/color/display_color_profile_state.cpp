#include "models/color/display_color_profile_state.hpp"

#include <algorithm>

#include "models/coding/localized_text_order.hpp"

namespace quorvane {

namespace {

// Whether `a` goes before `b`: current, then default, then factory, then the
// shown name ascending as the user's language sorts it, without regard to
// letter case.
bool profileOrder(const DisplayColorProfile& a, const DisplayColorProfile& b,
                  const LocalizedTextOrder& names) {
    if (a.isCurrent != b.isCurrent)
        return a.isCurrent;
    if (a.isDefault != b.isDefault)
        return a.isDefault;
    if (a.isFactory != b.isFactory)
        return a.isFactory;
    return names.before(a.displayName(), b.displayName());
}

}  // namespace

DisplayColorProfileState DisplayColorProfileState::available(
    std::uint32_t displayID, std::string displayUUID, std::vector<DisplayColorProfile> profiles) {
    const auto names = LocalizedTextOrder::forUserLocale();
    std::stable_sort(profiles.begin(), profiles.end(),
                     [&names](const DisplayColorProfile& a, const DisplayColorProfile& b) {
                         return profileOrder(a, b, names);
                     });

    DisplayColorProfileState state;
    state.displayID = displayID;
    state.displayUUID = std::move(displayUUID);
    auto current = std::find_if(profiles.begin(), profiles.end(),
                                [](const DisplayColorProfile& p) { return p.isCurrent; });
    if (current != profiles.end())
        state.currentProfileID = current->id;
    if (profiles.empty()) {
        state.availability = Availability::unavailable;
        state.message = std::string(kNoProfilesMessage);
    } else {
        state.availability = Availability::available;
    }
    state.profiles = std::move(profiles);
    return state;
}

DisplayColorProfileState DisplayColorProfileState::unavailable(std::uint32_t displayID,
                                                               std::string message) {
    DisplayColorProfileState state;
    state.displayID = displayID;
    state.availability = Availability::unavailable;
    state.message = std::move(message);
    return state;
}

std::optional<DisplayColorProfile> DisplayColorProfileState::currentProfile() const {
    if (currentProfileID) {
        for (const auto& profile : profiles) {
            if (profile.id == *currentProfileID)
                return profile;
        }
    }
    for (const auto& profile : profiles) {
        if (profile.isCurrent)
            return profile;
    }
    return std::nullopt;
}

std::string_view caseName(DisplayColorProfileState::Availability availability) {
    switch (availability) {
        case DisplayColorProfileState::Availability::available:
            return "available";
        case DisplayColorProfileState::Availability::unavailable:
            return "unavailable";
    }
    return "unavailable";
}

std::optional<DisplayColorProfileState::Availability> parseCaseName(
    std::string_view text, DisplayColorProfileState::Availability*) {
    if (text == "available")
        return DisplayColorProfileState::Availability::available;
    if (text == "unavailable")
        return DisplayColorProfileState::Availability::unavailable;
    return std::nullopt;
}

}  // namespace quorvane
