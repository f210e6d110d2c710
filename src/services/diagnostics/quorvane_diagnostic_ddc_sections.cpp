#include <algorithm>

#include "models/coding/number_format.hpp"
#include "models/ddc/ddc_vcp_code.hpp"
#include "models/display/display_identity.hpp"
#include "services/ddc/ddc_capability_badge_resolver.hpp"
#include "services/diagnostics/quorvane_diagnostic_report_builder.hpp"

namespace quorvane {

namespace {

bool includesHardwareDetails(QuorvaneDiagnosticPrivacyMode mode) {
    return mode == QuorvaneDiagnosticPrivacyMode::hardwareDetails;
}

template <class T>
std::optional<T> onlyWithHardwareDetails(QuorvaneDiagnosticPrivacyMode mode, T value) {
    if (!includesHardwareDetails(mode))
        return std::nullopt;
    return value;
}

template <class T>
std::optional<T> onlyWithHardwareDetails(QuorvaneDiagnosticPrivacyMode mode,
                                         const std::optional<T>& value) {
    if (!includesHardwareDetails(mode))
        return std::nullopt;
    return value;
}

// Error, failure and status texts: free-text redaction, and in
// privacy-preserving reports the numbers taken out too.
struct FreeTextRedaction {
    const std::vector<std::string>& tokens;
    QuorvaneDiagnosticPrivacyMode mode;
    const HomeFolderPathRedactor& homeFolders;

    std::string text(std::string_view value) const {
        std::string redacted =
            QuorvaneDiagnosticReportBuilder::redactingFreeText(value, tokens, homeFolders);
        if (includesHardwareDetails(mode))
            return redacted;
        return QuorvaneDiagnosticReportBuilder::redactingValueFragmentsFromFreeText(redacted);
    }

    std::optional<std::string> optionalText(const std::optional<std::string>& value) const {
        if (!value)
            return std::nullopt;
        return text(*value);
    }
};

}  // namespace

std::string QuorvaneDiagnosticReportBuilder::controlLabel(std::uint8_t code) {
    if (const auto known = ddcVCPCodeFromRaw(code))
        return std::string(label(*known));
    return "기술 코드 " + formatDecimal(static_cast<unsigned>(code));
}

std::string QuorvaneDiagnosticReportBuilder::technicalCode(std::uint8_t code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    if (code >= 0x10)
        hex.push_back(kDigits[code >> 4]);
    hex.push_back(kDigits[code & 0x0F]);
    return "0x" + hex;
}

QuorvaneDiagnosticDDCSnapshot QuorvaneDiagnosticReportBuilder::snapshotReport(
    const DDCSnapshot& snapshot, const std::vector<std::string>& redactionTokens,
    QuorvaneDiagnosticPrivacyMode privacyMode, const HomeFolderPathRedactor& homeFolders) {
    const FreeTextRedaction redacted{redactionTokens, privacyMode, homeFolders};
    QuorvaneDiagnosticDDCSnapshot report;
    report.busCount = onlyWithHardwareDetails(privacyMode, snapshot.busCount);
    report.lastError = redacted.optionalText(snapshot.lastError);
    // The maps are ordered by code already.
    for (const auto& [code, value] : snapshot.values) {
        report.values.push_back(
            {controlLabel(rawValue(code)),
             onlyWithHardwareDetails(privacyMode, technicalCode(rawValue(code))),
             onlyWithHardwareDetails(privacyMode, value.current),
             onlyWithHardwareDetails(privacyMode, value.maximum)});
    }
    for (const auto& [code, failure] : snapshot.unsupported) {
        report.unsupported.push_back(
            {controlLabel(rawValue(code)),
             onlyWithHardwareDetails(privacyMode, technicalCode(rawValue(code))),
             redacted.text(failure)});
    }
    return report;
}

std::vector<QuorvaneDiagnosticWriteStatus> QuorvaneDiagnosticReportBuilder::writeStatusReports(
    DisplayID displayID, const DDCWriteStatuses& ddcWriteStatuses,
    const std::vector<std::string>& redactionTokens, QuorvaneDiagnosticPrivacyMode privacyMode,
    const HomeFolderPathRedactor& homeFolders) {
    const FreeTextRedaction redacted{redactionTokens, privacyMode, homeFolders};
    // Keys order by display, then code, so one display's statuses come out
    // by ascending code.
    std::vector<QuorvaneDiagnosticWriteStatus> reports;
    for (const auto& [key, status] : ddcWriteStatuses) {
        if (key.displayID != displayID)
            continue;
        reports.push_back({controlLabel(rawValue(key.code)),
                           onlyWithHardwareDetails(privacyMode, technicalCode(rawValue(key.code))),
                           std::string(caseName(status.phase)),
                           onlyWithHardwareDetails(privacyMode, status.requestedRawValue),
                           redacted.optionalText(status.message)});
    }
    return reports;
}

std::optional<DDCCapabilityEntry> QuorvaneDiagnosticReportBuilder::capabilityEntry(
    const DisplaySnapshot& display, const DDCCapabilityCache& capabilityCache) {
    const auto found =
        capabilityCache.entriesByDisplayIdentity.find(DisplayIdentity::of(display).rawValue);
    if (found == capabilityCache.entriesByDisplayIdentity.end())
        return std::nullopt;
    return found->second;
}

DDCCapabilityBadge QuorvaneDiagnosticReportBuilder::reportBadge(
    const DisplaySnapshot& display, const std::set<DisplayID>& ddcProbeBusyDisplayIDs,
    const DDCCapabilityCache& capabilityCache,
    const std::set<DDCCapabilityCacheKey>& currentSessionDDCProbeKeys, Date generatedAt) {
    const DDCCapabilityCacheKey currentKey{
        DisplayIdentity::of(display).rawValue,
        DDCCapabilityCacheKey::connectionFingerprintFor(display)};
    return DDCCapabilityBadgeResolver::badge(display, capabilityEntry(display, capabilityCache),
                                             ddcProbeBusyDisplayIDs.contains(display.id),
                                             currentSessionDDCProbeKeys.contains(currentKey),
                                             generatedAt);
}

std::optional<QuorvaneDiagnosticCapability> QuorvaneDiagnosticReportBuilder::capabilityReport(
    const std::optional<DDCCapabilityEntry>& entry, const DDCCapabilityBadge& badge,
    const std::vector<std::string>& redactionTokens, QuorvaneDiagnosticPrivacyMode privacyMode,
    const HomeFolderPathRedactor& homeFolders) {
    const FreeTextRedaction redacted{redactionTokens, privacyMode, homeFolders};
    QuorvaneDiagnosticCapability report;
    report.badgeKind = std::string(caseName(badge.kind));
    report.badgeTitle = badge.title;
    report.badgeDetail = redacted.optionalText(badge.detail);
    if (!entry)
        return report;

    report.lastCheckedAt = entry->lastCheckedAt;
    report.busCount = onlyWithHardwareDetails(privacyMode, entry->busCount);
    report.displayFailureReason = redacted.optionalText(entry->displayFailureReason);

    std::vector<DDCCapabilityControlRecord> records;
    for (const auto& [key, record] : entry->controls)
        records.push_back(record);
    std::stable_sort(records.begin(), records.end(),
                     [](const auto& a, const auto& b) { return a.codeRawValue < b.codeRawValue; });
    for (const auto& record : records) {
        report.controls.push_back(
            {controlLabel(record.codeRawValue),
             onlyWithHardwareDetails(privacyMode, technicalCode(record.codeRawValue)),
             std::string(caseName(record.state)),
             onlyWithHardwareDetails(privacyMode, record.currentValue),
             onlyWithHardwareDetails(privacyMode, record.maximumValue),
             redacted.optionalText(record.failureReason), record.lastSucceededAt,
             record.lastFailedAt});
    }
    return report;
}

}  // namespace quorvane
