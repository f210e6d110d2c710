#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quorvane {

// How much of an imported file is taken.
enum class QuorvaneSettingsImportMode {
    fullWithDisplayMapping,  // common settings plus per-display values re-keyed to chosen displays
    globalOnly,              // common settings only
};

inline constexpr std::array<QuorvaneSettingsImportMode, 2> kAllSettingsImportModes = {
    QuorvaneSettingsImportMode::fullWithDisplayMapping, QuorvaneSettingsImportMode::globalOnly};

std::string_view caseName(QuorvaneSettingsImportMode mode);
std::optional<QuorvaneSettingsImportMode> parseCaseName(std::string_view text,
                                                        QuorvaneSettingsImportMode*);

}  // namespace quorvane
