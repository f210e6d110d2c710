#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// The coreGraphics code of a display system that cannot be reached (no
// server, or the connection to it was lost); the system's own codes are
// positive.
inline constexpr std::int32_t kDisplayServerUnreachableCode = -1;
// The same, when the connection was made and then broke: a command that
// read part of the screen and lost the rest.
inline constexpr std::int32_t kDisplayServerLostCode = -2;

// Failures of display-level system calls: display lookup, mode switching,
// transfer tables and built-in brightness.
struct DisplayControlError {
    enum class Kind {
        displayNotFound,
        coreGraphics,
        ioKit,
        noActiveDisplays,
        modeNotFound,
        brightnessUnsupported,
    };

    Kind kind = Kind::noActiveDisplays;
    std::uint32_t displayID = 0;  // displayNotFound
    std::int32_t code = 0;        // coreGraphics, ioKit

    bool operator==(const DisplayControlError&) const = default;

    static DisplayControlError displayNotFound(std::uint32_t displayID);
    static DisplayControlError coreGraphics(std::int32_t code);
    static DisplayControlError ioKit(std::int32_t code);
    static DisplayControlError noActiveDisplays();
    static DisplayControlError modeNotFound();
    static DisplayControlError brightnessUnsupported();
    static DisplayControlError displayServerUnreachable();
    static DisplayControlError displayServerLost();

    // True for a lost connection too: neither server can be asked anything.
    bool isDisplayServerUnreachable() const;
    bool isDisplayServerLost() const;

    // The Korean text shown in the status message.
    std::string description() const;
};

std::string_view caseName(DisplayControlError::Kind kind);
std::optional<DisplayControlError::Kind> parseCaseName(std::string_view text,
                                                       DisplayControlError::Kind*);

}  // namespace quorvane
