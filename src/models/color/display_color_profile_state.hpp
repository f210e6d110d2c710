#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "models/color/display_color_profile.hpp"

namespace quorvane {

// The colour-profile situation of one display as last read.
struct DisplayColorProfileState {
    enum class Availability { available, unavailable };

    // The message of a successful read that found no profile.
    static constexpr std::string_view kNoProfilesMessage =
        "이 디스플레이의 색상 프로파일 정보를 찾지 못했습니다.";

    std::uint32_t displayID = 0;
    // The display's colour device identifier; absent when the state records a
    // read failure.
    std::optional<std::string> displayUUID;
    Availability availability = Availability::unavailable;
    // Current first, then default, then factory, then by name.
    std::vector<DisplayColorProfile> profiles;
    std::optional<std::string> currentProfileID;
    // Why nothing can be shown; absent when available.
    std::optional<std::string> message;

    // The state of a successful read: profiles sorted, the first current one
    // remembered, `unavailable` with kNoProfilesMessage when there are none.
    static DisplayColorProfileState available(std::uint32_t displayID, std::string displayUUID,
                                              std::vector<DisplayColorProfile> profiles);
    // The state of a failed read: no identifier, no profiles, the failure's text.
    static DisplayColorProfileState unavailable(std::uint32_t displayID, std::string message);

    // The profile named by currentProfileID; when that is unset or matches
    // nothing, the first profile flagged current; else none.
    std::optional<DisplayColorProfile> currentProfile() const;

    bool operator==(const DisplayColorProfileState&) const = default;
};

std::string_view caseName(DisplayColorProfileState::Availability availability);
std::optional<DisplayColorProfileState::Availability> parseCaseName(
    std::string_view text, DisplayColorProfileState::Availability*);

}  // namespace quorvane
