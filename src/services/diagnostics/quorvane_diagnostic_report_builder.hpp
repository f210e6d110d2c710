#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "models/display_color_profile_state.hpp"
#include "models/display_snapshot.hpp"
#include "models/quorvane_diagnostic_color_profile_state.hpp"
#include "models/quorvane_diagnostic_privacy_mode.hpp"
#include "services/diagnostics/home_folder_path_redactor.hpp"

namespace quorvane {

// Turns the store's state into diagnostic report sections and keeps
// identifying texts, home-folder paths and monitor values out of the
// report's free text. Every function is pure.
//
// Functions that redact take the user's home folder as their last argument;
// it defaults to this process's user and is given explicitly only by tests.
struct QuorvaneDiagnosticReportBuilder {
    static constexpr std::string_view kRedactedToken = "[redacted]";
    static constexpr std::string_view kRedactedValue = "[redacted-value]";

    // Each token (in list order, longest first as redactionTokens gives
    // them) replaced by "[redacted]" as a plain case-sensitive substring,
    // then every home-folder path by "[redacted-path]".
    static std::string redactingFreeText(
        std::string_view text, const std::vector<std::string>& redactionTokens,
        const HomeFolderPathRedactor& homeFolders = HomeFolderPathRedactor::forCurrentUser());

    // Numbers, with a colon before them or a percent sign or unit behind
    // them, replaced by "[redacted-value]" (or removed with their colon);
    // the result is trimmed. No digit of any script survives.
    static std::string redactingValueFragmentsFromFreeText(std::string_view text);

    // The tokens as a list without repeats or the empty string, longest
    // (in user-perceived characters) first.
    static std::vector<std::string> sortedRedactionTokens(std::vector<std::string> tokens);

    // "Display N" (N = index + 1); in hardware-details mode the display's own
    // name when its identity rests on a reliable serial, else
    // "Display N (serial missing)".
    static std::string diagnosticDisplayName(const DisplaySnapshot& display, std::size_t index,
                                             QuorvaneDiagnosticPrivacyMode privacyMode);

    static QuorvaneDiagnosticColorProfileState colorProfileReport(
        const DisplayColorProfileState& state, const std::vector<std::string>& redactionTokens,
        QuorvaneDiagnosticPrivacyMode privacyMode,
        const HomeFolderPathRedactor& homeFolders = HomeFolderPathRedactor::forCurrentUser());
};

}  // namespace quorvane
