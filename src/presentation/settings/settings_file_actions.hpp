#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "models/coding/date_coding.hpp"
#include "platform/interfaces/scheduler.hpp"
#include "presentation/settings/settings_window_state.hpp"
#include "services/persistence/quorvane_settings_file_loader.hpp"

namespace quorvane {

class DisplayStore;

inline constexpr std::string_view kSettingsExportFileName = "Quorvane-Settings.json";

// The files card's export: the store's saved preferences as a settings
// document, written atomically at `destination` (none: the dialog was
// cancelled, nothing happens). The outcome is the status message: the
// success text, or the encoding or writing error's own text.
void exportSettings(DisplayStore& store, const std::optional<std::filesystem::path>& destination,
                    Date now);

// The files card's import: reads `source` through the bounded loader
// (size, then name, then version, then the data), and on success sets the
// draft the preview sheet shows before saying so in the status message. A
// refused file sets the refusal's text and no draft; none (the dialog was
// cancelled) changes nothing at all.
void importSettings(DisplayStore& store, SettingsWindowState& state,
                    const std::optional<std::filesystem::path>& source,
                    Duration readTimeLimit = QuorvaneSettingsFileLoader::defaultReadTimeLimit);

}  // namespace quorvane
