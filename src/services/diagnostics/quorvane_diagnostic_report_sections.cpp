#include "models/coding/number_format.hpp"
#include "models/display/display_identity.hpp"
#include "services/diagnostics/quorvane_diagnostic_report_builder.hpp"

namespace quorvane {

namespace {

bool includesHardwareDetails(QuorvaneDiagnosticPrivacyMode mode) {
    return mode == QuorvaneDiagnosticPrivacyMode::hardwareDetails;
}

}  // namespace

std::string QuorvaneDiagnosticReportBuilder::diagnosticDisplayName(
    const DisplaySnapshot& display, std::size_t index, QuorvaneDiagnosticPrivacyMode privacyMode) {
    const std::string positional =
        "Display " + formatDecimal(static_cast<std::uint64_t>(index) + 1);
    if (!includesHardwareDetails(privacyMode))
        return positional;
    if (DisplayIdentity::of(display).hasReliableSerial)
        return display.name;
    return positional + " (serial missing)";
}

QuorvaneDiagnosticColorProfileState QuorvaneDiagnosticReportBuilder::colorProfileReport(
    const DisplayColorProfileState& state, const std::vector<std::string>& redactionTokens,
    QuorvaneDiagnosticPrivacyMode privacyMode, const HomeFolderPathRedactor& homeFolders) {
    auto redacted = [&](std::string_view text) {
        return redactingFreeText(text, redactionTokens, homeFolders);
    };

    QuorvaneDiagnosticColorProfileState report;
    report.status = state.availability == DisplayColorProfileState::Availability::unavailable
                        ? "unavailable"
                        : "available";
    report.availableProfileCount = static_cast<std::int64_t>(state.profiles.size());
    if (state.message)
        report.message = redacted(*state.message);
    if (!includesHardwareDetails(privacyMode))
        return report;

    if (const auto current = state.currentProfile()) {
        report.currentProfileName = redacted(current->displayName());
        report.currentProfileID = redacted(current->id);
        report.currentProfileIsDefault = current->isDefault;
        report.currentProfileIsFactory = current->isFactory;
    }
    for (const auto& profile : state.profiles) {
        report.profiles.push_back({redacted(profile.id), redacted(profile.displayName()),
                                   profile.isCurrent, profile.isDefault, profile.isFactory});
    }
    return report;
}

}  // namespace quorvane
