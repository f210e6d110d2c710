#include "models/diagnostics/quorvane_diagnostic_app_state.hpp"

namespace quorvane {

Json QuorvaneDiagnosticAppState::toJson() const {
    Json object = Json::object();
    object["statusMessage"] = statusMessage;
    object["textSize"] = textSize;
    object["appearance"] = appearance;
    object["autoApplyEnabled"] = autoApplyEnabled;
    object["softwareColorCorrectionEnabled"] = softwareColorCorrectionEnabled;
    object["brightnessSyncEnabled"] = brightnessSyncEnabled;
    object["displayGroupCount"] = displayGroupCount;
    putOptional(object, "brightnessSyncGroupID", brightnessSyncGroupID);
    object["sceneHotKeysEnabled"] = sceneHotKeysEnabled;
    object["sceneHotKeyBindingCount"] = sceneHotKeyBindingCount;
    object["sceneHotKeyRegisteredCount"] = sceneHotKeyRegisteredCount;
    return object;
}

QuorvaneDiagnosticAppState QuorvaneDiagnosticAppState::fromJson(const Json& object) {
    QuorvaneDiagnosticAppState state;
    state.statusMessage = requireKey<std::string>(object, "statusMessage");
    state.textSize = requireKey<std::string>(object, "textSize");
    state.appearance = requireKey<std::string>(object, "appearance");
    state.autoApplyEnabled = requireKey<bool>(object, "autoApplyEnabled");
    state.softwareColorCorrectionEnabled =
        requireKey<bool>(object, "softwareColorCorrectionEnabled");
    state.brightnessSyncEnabled = requireKey<bool>(object, "brightnessSyncEnabled");
    state.displayGroupCount = requireKey<std::int64_t>(object, "displayGroupCount");
    state.brightnessSyncGroupID = optionalKey<std::string>(object, "brightnessSyncGroupID");
    state.sceneHotKeysEnabled = requireKey<bool>(object, "sceneHotKeysEnabled");
    state.sceneHotKeyBindingCount = requireKey<std::int64_t>(object, "sceneHotKeyBindingCount");
    state.sceneHotKeyRegisteredCount =
        requireKey<std::int64_t>(object, "sceneHotKeyRegisteredCount");
    return state;
}

}  // namespace quorvane
