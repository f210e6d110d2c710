#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "models/coding/date_coding.hpp"
#include "models/color/display_color_profile_state.hpp"
#include "models/ddc/ddc_capability_cache.hpp"
#include "models/ddc/ddc_capability_cache_key.hpp"
#include "models/ddc/ddc_capability_entry.hpp"
#include "models/ddc/ddc_snapshot.hpp"
#include "models/ddc/ddc_write_status.hpp"
#include "models/diagnostics/quorvane_diagnostic_capability.hpp"
#include "models/diagnostics/quorvane_diagnostic_color_profile_state.hpp"
#include "models/diagnostics/quorvane_diagnostic_ddc_state.hpp"
#include "models/diagnostics/quorvane_diagnostic_environment.hpp"
#include "models/diagnostics/quorvane_diagnostic_privacy_mode.hpp"
#include "models/diagnostics/quorvane_diagnostic_report.hpp"
#include "models/display/display_snapshot.hpp"
#include "models/settings/quorvane_appearance.hpp"
#include "models/settings/quorvane_text_size.hpp"
#include "services/ddc/ddc_capability_badge.hpp"
#include "services/diagnostics/home_folder_path_redactor.hpp"

namespace quorvane {

// The store's state as one report reads it, taken once on the store's thread.
struct QuorvaneDiagnosticReportInputs {
    std::vector<DisplaySnapshot> displays;  // in the store's order
    std::map<DisplayID, DDCSnapshot> ddcSnapshots;
    DDCCapabilityCache ddcCapabilityCache;
    std::set<DisplayID> ddcProbeBusyDisplayIDs;
    std::map<DDCWriteKey, DDCWriteStatus> ddcWriteStatuses;
    std::map<DisplayID, DisplayColorProfileState> colorProfileStates;
    std::set<DDCCapabilityCacheKey> currentSessionDDCProbeKeys;
    std::string statusMessage;  // unredacted
    QuorvaneTextSize textSize = QuorvaneTextSize::large;
    QuorvaneAppearance appearance = QuorvaneAppearance::system;
    bool autoApplyEnabled = false;
    bool softwareColorCorrectionEnabled = false;
    bool brightnessSyncEnabled = false;
    std::int64_t displayGroupCount = 0;
    std::optional<std::string> brightnessSyncGroupID;
    bool sceneHotKeysEnabled = false;
    std::int64_t sceneHotKeyBindingCount = 0;
    std::int64_t sceneHotKeyRegisteredCount = 0;
    // The status text carries monitor values.
    bool statusMessageRequiresDDCValueRedaction = false;
    QuorvaneDiagnosticPrivacyMode privacyMode = QuorvaneDiagnosticPrivacyMode::privacyPreserving;
    // The store's own identifying texts: names, aliases, profile paths.
    std::vector<std::string> additionalRedactionTokens;
    QuorvaneDiagnosticEnvironment environment;
    Date generatedAt{};
};

// Turns the store's state into diagnostic report sections and keeps
// identifying texts, home-folder paths and monitor values out of the
// report's free text. Every function is pure.
//
// Functions that redact take the user's home folder as their last argument;
// it defaults to this process's user and is given explicitly only by tests.
struct QuorvaneDiagnosticReportBuilder {
    using DDCWriteStatuses = std::map<DDCWriteKey, DDCWriteStatus>;

    // The whole report: displays by ascending ID (then name) as "Display N",
    // every free text redacted with one token list, and in privacy-preserving
    // mode a status text that carries monitor values stripped of them.
    static QuorvaneDiagnosticReport report(
        const QuorvaneDiagnosticReportInputs& inputs,
        const HomeFolderPathRedactor& homeFolders = HomeFolderPathRedactor::forCurrentUser());

    static constexpr std::string_view kRedactedToken = "[redacted]";

    // Everything that identifies the user's displays: each display's name,
    // identity raw value, connection fingerprint and non-zero serial number,
    // every cache entry's identity and fingerprint (connected or not), and
    // the additional tokens; as sortedRedactionTokens orders them.
    static std::vector<std::string> redactionTokens(
        const std::vector<DisplaySnapshot>& displays, const DDCCapabilityCache& capabilityCache,
        const std::vector<std::string>& additionalTokens);

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

    // True when some write status, of any display, carries exactly this
    // (unredacted) message.
    static bool statusMessageHasDDCWriteContext(std::string_view statusMessage,
                                                const DDCWriteStatuses& ddcWriteStatuses);

    // True when the text names one of the seven monitor controls.
    static bool containsDDCLabel(std::string_view text);

    // The label of a control code; "기술 코드 " and the decimal code for one
    // outside the seven controls.
    static std::string controlLabel(std::uint8_t code);
    // "0x" and the code in upper-case hexadecimal without leading zeros.
    static std::string technicalCode(std::uint8_t code);

    // "Display N" (N = index + 1); in hardware-details mode the display's own
    // name when its identity rests on a reliable serial, else
    // "Display N (serial missing)".
    static std::string diagnosticDisplayName(const DisplaySnapshot& display, std::size_t index,
                                             QuorvaneDiagnosticPrivacyMode privacyMode);

    static QuorvaneDiagnosticColorProfileState colorProfileReport(
        const DisplayColorProfileState& state, const std::vector<std::string>& redactionTokens,
        QuorvaneDiagnosticPrivacyMode privacyMode,
        const HomeFolderPathRedactor& homeFolders = HomeFolderPathRedactor::forCurrentUser());

    // Values and unsupported controls by ascending code; bus count, codes and
    // raw values in hardware-details reports only.
    static QuorvaneDiagnosticDDCSnapshot snapshotReport(
        const DDCSnapshot& snapshot, const std::vector<std::string>& redactionTokens,
        QuorvaneDiagnosticPrivacyMode privacyMode,
        const HomeFolderPathRedactor& homeFolders = HomeFolderPathRedactor::forCurrentUser());

    // The statuses of one display by ascending code.
    static std::vector<QuorvaneDiagnosticWriteStatus> writeStatusReports(
        DisplayID displayID, const DDCWriteStatuses& ddcWriteStatuses,
        const std::vector<std::string>& redactionTokens, QuorvaneDiagnosticPrivacyMode privacyMode,
        const HomeFolderPathRedactor& homeFolders = HomeFolderPathRedactor::forCurrentUser());

    // The cache entry stored under the display's identity raw value.
    static std::optional<DDCCapabilityEntry> capabilityEntry(
        const DisplaySnapshot& display, const DDCCapabilityCache& capabilityCache);

    // The display's capability badge as of the report's time: checking only
    // while its probe runs (a timed-out probe that is settling does not
    // count), otherwise judged from its cache entry against `generatedAt`.
    static DDCCapabilityBadge reportBadge(
        const DisplaySnapshot& display, const std::set<DisplayID>& ddcProbeBusyDisplayIDs,
        const DDCCapabilityCache& capabilityCache,
        const std::set<DDCCapabilityCacheKey>& currentSessionDDCProbeKeys, Date generatedAt);

    // The badge and, with an entry, its check time, bus count, failure reason
    // and controls by ascending code. Always holds a value.
    static std::optional<QuorvaneDiagnosticCapability> capabilityReport(
        const std::optional<DDCCapabilityEntry>& entry, const DDCCapabilityBadge& badge,
        const std::vector<std::string>& redactionTokens, QuorvaneDiagnosticPrivacyMode privacyMode,
        const HomeFolderPathRedactor& homeFolders = HomeFolderPathRedactor::forCurrentUser());
};

}  // namespace quorvane
