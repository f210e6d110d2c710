#include "services/diagnostics/quorvane_diagnostic_report_builder.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

void DisplayStore::setStatusMessageWithPrivacyTokens(std::string text,
                                                     std::vector<std::string> privacyTokens) {
    ChangeScope scope(*this);
    setStatusMessage(std::move(text));
    // After the text, which drops the tokens of the one before; a save
    // problem shown in its place does not take them.
    if (statusMessage_ == actionStatusMessage_)
        diagnosticStatusMessagePrivacyTokens_ = std::move(privacyTokens);
}

QuorvaneDiagnosticReport DisplayStore::makeDiagnosticReport(
    const QuorvaneDiagnosticEnvironment& environment, Date generatedAt,
    QuorvaneDiagnosticPrivacyMode privacyMode) const {
    assert(std::this_thread::get_id() == ownerThread_);
    QuorvaneDiagnosticReportInputs inputs;
    inputs.displays = displays_;
    inputs.ddcSnapshots = ddcSnapshots_;
    inputs.ddcCapabilityCache = ddcCapabilityCache_;
    inputs.ddcProbeBusyDisplayIDs = ddcProbeBusyDisplayIDs_;
    inputs.ddcWriteStatuses = ddcWriteStatuses_;
    inputs.colorProfileStates = colorProfileStates_;
    inputs.currentSessionDDCProbeKeys = currentSessionDDCProbeKeys_;
    inputs.statusMessage = statusMessage_;
    inputs.textSize = textSize_;
    inputs.appearance = appearance_;
    inputs.autoApplyEnabled = autoApplyEnabled_;
    inputs.softwareColorCorrectionEnabled = softwareColorCorrectionEnabled_;
    inputs.brightnessSyncEnabled = brightnessSyncEnabled_;
    inputs.displayGroupCount = static_cast<std::int64_t>(customDisplayGroups_.size());
    inputs.brightnessSyncGroupID = brightnessSyncGroupID_;
    inputs.sceneHotKeysEnabled = sceneHotKeysEnabled_;
    inputs.sceneHotKeyBindingCount = static_cast<std::int64_t>(sceneHotKeyBindings_.size());
    inputs.sceneHotKeyRegisteredCount = sceneHotKeyRegistrationSummary_.registeredCount;
    inputs.statusMessageRequiresDDCValueRedaction =
        diagnosticStatusMessageRequiresDDCValueRedaction_;
    inputs.privacyMode = privacyMode;
    inputs.additionalRedactionTokens = diagnosticRedactionTokens();
    inputs.environment = environment;
    inputs.generatedAt = generatedAt;
    return QuorvaneDiagnosticReportBuilder::report(inputs);
}

std::vector<std::string> DisplayStore::diagnosticRedactionTokens() const {
    std::vector<std::string> tokens;
    const auto& record = preferences_;
    for (const auto& [rawValue, adjustment] : record.displayAdjustments)
        tokens.push_back(rawValue);
    for (const auto& [key, alias] : record.displayAliasesByKey)
        tokens.push_back(key);
    for (const auto& [key, alias] : record.displayAliasesByKey)
        tokens.push_back(alias);
    if (record.lastSelectedDisplayIdentity)
        tokens.push_back(*record.lastSelectedDisplayIdentity);
    for (const auto& preset : record.customPresets) {
        tokens.push_back(preset.id);
        tokens.push_back(preset.name);
    }
    for (const auto& scene : record.customScenes) {
        tokens.push_back(scene.id);
        tokens.push_back(scene.name);
        for (const auto& [rawValue, adjustment] : scene.softwareAdjustmentsByDisplayIdentity)
            tokens.push_back(rawValue);
        for (const auto& action : scene.hardwareActions) {
            if (action.targetDisplayIdentityRawValue)
                tokens.push_back(*action.targetDisplayIdentityRawValue);
        }
        for (const auto& action : scene.hardwareActions)
            tokens.push_back(action.id);
    }
    for (const auto& group : record.customDisplayGroups) {
        tokens.push_back(group.id);
        tokens.push_back(group.name);
        tokens.insert(tokens.end(), group.displayIdentityRawValues.begin(),
                      group.displayIdentityRawValues.end());
    }
    if (record.brightnessSyncGroupID)
        tokens.push_back(*record.brightnessSyncGroupID);
    for (const auto& binding : record.sceneHotKeyBindings) {
        tokens.push_back(binding.id);
        tokens.push_back(binding.sceneID);
    }
    tokens.insert(tokens.end(), diagnosticPrivacyTokens_.begin(), diagnosticPrivacyTokens_.end());
    tokens.insert(tokens.end(), diagnosticStatusMessagePrivacyTokens_.begin(),
                  diagnosticStatusMessagePrivacyTokens_.end());
    for (const auto& [displayID, state] : colorProfileStates_) {
        for (const auto& profile : state.profiles)
            appendDiagnosticRedactionTokens(profile, tokens);
    }
    return tokens;
}

}  // namespace quorvane
