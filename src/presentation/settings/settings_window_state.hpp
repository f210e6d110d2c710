#pragma once

#include <optional>

#include "models/diagnostics/quorvane_diagnostic_report_preview.hpp"
#include "models/settings/quorvane_settings_import_draft.hpp"

namespace quorvane {

// The settings window's transient state: each value, while set, keeps its
// sheet open. Nothing here is saved.
struct SettingsWindowState {
    std::optional<QuorvaneDiagnosticReportPreview> diagnosticPreview;
    std::optional<QuorvaneSettingsImportDraft> settingsImportDraft;

    bool operator==(const SettingsWindowState&) const = default;
};

}  // namespace quorvane
