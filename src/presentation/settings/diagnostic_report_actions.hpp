#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "models/coding/date_coding.hpp"
#include "models/diagnostics/quorvane_diagnostic_environment.hpp"
#include "models/diagnostics/quorvane_diagnostic_privacy_mode.hpp"
#include "models/diagnostics/quorvane_diagnostic_report_preview.hpp"
#include "presentation/settings/settings_window_state.hpp"

namespace quorvane {

class DisplayStore;

inline constexpr std::string_view kDiagnosticReportFileName = "Quorvane-Diagnostic-Report.json";

struct DiagnosticSheetTexts {
    std::string title;
    std::string description;

    bool operator==(const DiagnosticSheetTexts&) const = default;
};

DiagnosticSheetTexts diagnosticSheetTexts(QuorvaneDiagnosticPrivacyMode mode);

// Builds and encodes the report of the store's state now and opens it in
// the preview. The report is taken before the status changes, so it carries
// the status the user saw when asking for it. An encoding failure sets its
// text and leaves the preview as it was.
void prepareDiagnosticPreview(DisplayStore& store, SettingsWindowState& state,
                              const QuorvaneDiagnosticEnvironment& environment, Date now,
                              QuorvaneDiagnosticPrivacyMode mode);

// Hands exactly the previewed text to `putOnClipboard`; always reports the
// copy (the clipboard gives no answer).
void copyDiagnosticPreview(DisplayStore& store, const QuorvaneDiagnosticReportPreview& preview,
                           const std::function<void(const std::string&)>& putOnClipboard);

// Writes exactly the previewed bytes, atomically, at `destination` (none:
// the dialog was cancelled, nothing happens); a failure's text becomes the
// status and the preview stays open.
void saveDiagnosticPreview(DisplayStore& store, const QuorvaneDiagnosticReportPreview& preview,
                           const std::optional<std::filesystem::path>& destination);

}  // namespace quorvane
