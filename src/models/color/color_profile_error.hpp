#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace quorvane {

// Failures of reading and assigning colour profiles.
struct ColorProfileError {
    enum class Kind { displayUUIDUnavailable, profileNotFound, profileURLUnavailable, writeFailed };

    Kind kind = Kind::writeFailed;
    // The display of displayUUIDUnavailable (not part of the text).
    std::uint32_t displayID = 0;
    // The requested profile ID (profileNotFound), the profile's shown name
    // (profileURLUnavailable) or a complete sentence (writeFailed).
    std::string detail;

    static ColorProfileError displayUUIDUnavailable(std::uint32_t displayID) {
        return {Kind::displayUUIDUnavailable, displayID, {}};
    }
    static ColorProfileError profileNotFound(std::string profileID) {
        return {Kind::profileNotFound, 0, std::move(profileID)};
    }
    static ColorProfileError profileURLUnavailable(std::string profileName) {
        return {Kind::profileURLUnavailable, 0, std::move(profileName)};
    }
    static ColorProfileError writeFailed(std::string sentence) {
        return {Kind::writeFailed, 0, std::move(sentence)};
    }

    std::string description() const;

    bool operator==(const ColorProfileError&) const = default;
};

}  // namespace quorvane
