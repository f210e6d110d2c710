#include "models/diagnostics/quorvane_diagnostic_environment.hpp"

namespace quorvane {

namespace {

std::string infoString(const Json& bundleInfo, const char* key) {
    if (!bundleInfo.is_object())
        return "unknown";
    auto it = bundleInfo.find(key);
    if (it == bundleInfo.end() || !it->is_string())
        return "unknown";
    return it->get<std::string>();
}

}  // namespace

QuorvaneDiagnosticEnvironment QuorvaneDiagnosticEnvironment::current(
    const Json& bundleInfo, std::string_view operatingSystemVersion) {
    QuorvaneDiagnosticEnvironment environment;
    environment.appName = "Quorvane";
    environment.appVersion = infoString(bundleInfo, "CFBundleShortVersionString");
    environment.buildVersion = infoString(bundleInfo, "CFBundleVersion");
    environment.macOSVersion = std::string(operatingSystemVersion);
    return environment;
}

Json QuorvaneDiagnosticEnvironment::toJson() const {
    Json object = Json::object();
    object["appName"] = appName;
    object["appVersion"] = appVersion;
    object["buildVersion"] = buildVersion;
    object["macOSVersion"] = macOSVersion;
    return object;
}

QuorvaneDiagnosticEnvironment QuorvaneDiagnosticEnvironment::fromJson(const Json& object) {
    QuorvaneDiagnosticEnvironment environment;
    environment.appName = requireKey<std::string>(object, "appName");
    environment.appVersion = requireKey<std::string>(object, "appVersion");
    environment.buildVersion = requireKey<std::string>(object, "buildVersion");
    environment.macOSVersion = requireKey<std::string>(object, "macOSVersion");
    return environment;
}

}  // namespace quorvane
