#include "models/settings/quorvane_settings_import_mode.hpp"

namespace quorvane {

std::string_view caseName(QuorvaneSettingsImportMode mode) {
    switch (mode) {
        case QuorvaneSettingsImportMode::fullWithDisplayMapping:
            return "fullWithDisplayMapping";
        case QuorvaneSettingsImportMode::globalOnly:
            return "globalOnly";
    }
    return {};
}

std::optional<QuorvaneSettingsImportMode> parseCaseName(std::string_view text,
                                                        QuorvaneSettingsImportMode*) {
    for (auto mode : kAllSettingsImportModes) {
        if (caseName(mode) == text)
            return mode;
    }
    return std::nullopt;
}

}  // namespace quorvane
