#include "models/diagnostics/quorvane_diagnostic_report.hpp"

namespace quorvane {

Json QuorvaneDiagnosticReport::toJson() const {
    Json object = Json::object();
    object["documentType"] = documentType;
    object["schemaVersion"] = schemaVersion;
    object["privacyMode"] = encodeValue<Json>(privacyMode);
    object["hardwareDetailsIncluded"] = hardwareDetailsIncluded;
    object["generatedAt"] = formatIso8601(generatedAt);
    object["environment"] = environment.toJson();
    object["appState"] = appState.toJson();
    object["displays"] = encodeValue<Json>(displays);
    return object;
}

QuorvaneDiagnosticReport QuorvaneDiagnosticReport::fromJson(const Json& object) {
    QuorvaneDiagnosticReport report;
    report.documentType = requireKey<std::string>(object, "documentType");
    report.schemaVersion = requireKey<std::int64_t>(object, "schemaVersion");
    report.privacyMode = requireKey<QuorvaneDiagnosticPrivacyMode>(object, "privacyMode");
    report.hardwareDetailsIncluded = requireKey<bool>(object, "hardwareDetailsIncluded");
    report.generatedAt = requireDateKey(object, "generatedAt");
    report.environment = requireKey<QuorvaneDiagnosticEnvironment>(object, "environment");
    report.appState = requireKey<QuorvaneDiagnosticAppState>(object, "appState");
    report.displays = requireKey<std::vector<QuorvaneDiagnosticDisplay>>(object, "displays");
    return report;
}

}  // namespace quorvane
