#include <algorithm>

#include "models/coding/number_format.hpp"
#include "models/display/display_identity.hpp"
#include "services/diagnostics/quorvane_diagnostic_report_builder.hpp"

namespace quorvane {

namespace {

using Builder = QuorvaneDiagnosticReportBuilder;
using Mode = QuorvaneDiagnosticPrivacyMode;

struct DisplayReportContext {
    const QuorvaneDiagnosticReportInputs& inputs;
    const std::vector<std::string>& tokens;
    const HomeFolderPathRedactor& homeFolders;
};

QuorvaneDiagnosticDDCState ddcState(const DisplaySnapshot& display,
                                    const DisplayReportContext& context) {
    const auto& inputs = context.inputs;
    QuorvaneDiagnosticDDCState state;
    state.probeBusy = inputs.ddcProbeBusyDisplayIDs.contains(display.id);
    state.writeBusy = std::any_of(inputs.ddcWriteStatuses.begin(), inputs.ddcWriteStatuses.end(),
                                  [&](const auto& entry) {
                                      return entry.first.displayID == display.id &&
                                             entry.second.phase == DDCWriteStatusPhase::pending;
                                  });
    const auto badge =
        Builder::reportBadge(display, inputs.ddcProbeBusyDisplayIDs, inputs.ddcCapabilityCache,
                             inputs.currentSessionDDCProbeKeys, inputs.generatedAt);
    state.capability =
        Builder::capabilityReport(Builder::capabilityEntry(display, inputs.ddcCapabilityCache),
                                  badge, context.tokens, inputs.privacyMode, context.homeFolders);
    if (auto snapshot = inputs.ddcSnapshots.find(display.id); snapshot != inputs.ddcSnapshots.end())
        state.snapshot = Builder::snapshotReport(snapshot->second, context.tokens,
                                                 inputs.privacyMode, context.homeFolders);
    state.writeStatuses =
        Builder::writeStatusReports(display.id, inputs.ddcWriteStatuses, context.tokens,
                                    inputs.privacyMode, context.homeFolders);
    return state;
}

QuorvaneDiagnosticDisplay displayRecord(const DisplaySnapshot& display, std::size_t index,
                                        const DisplayReportContext& context) {
    const auto mode = context.inputs.privacyMode;
    const bool details = mode == Mode::hardwareDetails;
    QuorvaneDiagnosticDisplay record;
    record.reportID = "Display " + formatDecimal(static_cast<std::uint64_t>(index + 1));
    record.displayName = Builder::diagnosticDisplayName(display, index, mode);
    record.displayKind = display.isBuiltin ? "built-in" : "external";
    record.isMain = display.isMain;
    record.isBuiltin = display.isBuiltin;
    if (details) {
        record.vendorNumber = display.vendorNumber;
        record.modelNumber = display.modelNumber;
        record.bounds = QuorvaneDiagnosticBounds::make(display.bounds);
    }
    record.serial = {display.serialNumber != 0 ? "present-redacted" : "missing",
                     DisplayIdentity::of(display).hasReliableSerial};
    if (details && display.currentMode) {
        const auto& current = *display.currentMode;
        record.currentMode = QuorvaneDiagnosticDisplayMode{
            current.label(),    current.width,       current.height,
            current.pixelWidth, current.pixelHeight, current.refreshRate};
    }
    record.hardwareBrightnessAvailable = display.hardwareBrightness.has_value();
    if (auto state = context.inputs.colorProfileStates.find(display.id);
        state != context.inputs.colorProfileStates.end()) {
        record.colorProfile =
            Builder::colorProfileReport(state->second, context.tokens, mode, context.homeFolders);
    }
    record.ddc = ddcState(display, context);
    return record;
}

}  // namespace

QuorvaneDiagnosticReport QuorvaneDiagnosticReportBuilder::report(
    const QuorvaneDiagnosticReportInputs& inputs, const HomeFolderPathRedactor& homeFolders) {
    const auto tokens = redactionTokens(inputs.displays, inputs.ddcCapabilityCache,
                                        inputs.additionalRedactionTokens);
    auto ordered = inputs.displays;
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& left, const auto& right) {
        if (left.id != right.id)
            return left.id < right.id;
        return left.name < right.name;
    });
    const bool writeContext =
        statusMessageHasDDCWriteContext(inputs.statusMessage, inputs.ddcWriteStatuses);

    QuorvaneDiagnosticReport report;
    report.privacyMode = inputs.privacyMode;
    report.hardwareDetailsIncluded = inputs.privacyMode == Mode::hardwareDetails;
    report.generatedAt = inputs.generatedAt;
    report.environment = inputs.environment;

    const DisplayReportContext context{inputs, tokens, homeFolders};
    for (std::size_t index = 0; index < ordered.size(); ++index)
        report.displays.push_back(displayRecord(ordered[index], index, context));

    auto& state = report.appState;
    state.statusMessage = redactingFreeText(inputs.statusMessage, tokens, homeFolders);
    if (inputs.privacyMode == Mode::privacyPreserving &&
        (inputs.statusMessageRequiresDDCValueRedaction || writeContext ||
         containsDDCLabel(state.statusMessage))) {
        state.statusMessage = redactingValueFragmentsFromFreeText(state.statusMessage);
    }
    state.textSize = std::string(caseName(inputs.textSize));
    state.appearance = std::string(caseName(inputs.appearance));
    state.autoApplyEnabled = inputs.autoApplyEnabled;
    state.softwareColorCorrectionEnabled = inputs.softwareColorCorrectionEnabled;
    state.brightnessSyncEnabled = inputs.brightnessSyncEnabled;
    state.displayGroupCount = inputs.displayGroupCount;
    if (inputs.brightnessSyncGroupID)
        state.brightnessSyncGroupID =
            redactingFreeText(*inputs.brightnessSyncGroupID, tokens, homeFolders);
    state.sceneHotKeysEnabled = inputs.sceneHotKeysEnabled;
    state.sceneHotKeyBindingCount = inputs.sceneHotKeyBindingCount;
    state.sceneHotKeyRegisteredCount = inputs.sceneHotKeyRegisteredCount;
    return report;
}

}  // namespace quorvane
