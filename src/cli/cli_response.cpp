#include "cli/cli_response.hpp"

#include <type_traits>

namespace quorvane {

namespace {

template <class T>
Json encodeList(const std::vector<T>& items) {
    Json array = Json::array();
    for (const auto& item : items)
        array.push_back(item.toJson());
    return array;
}

Json typed(std::string_view type, std::string_view payloadKey, Json payload) {
    Json object = Json::object();
    object["type"] = std::string(type);
    object[std::string(payloadKey)] = std::move(payload);
    return object;
}

Json encodeResult(const CLIResponse::Result& result) {
    return std::visit(
        [](const auto& payload) -> Json {
            using T = std::decay_t<decltype(payload)>;
            if constexpr (std::is_same_v<T, CLIResponse::Presets>) {
                return typed("presets", "items", encodeList(payload));
            } else if constexpr (std::is_same_v<T, CLIResponse::Scenes>) {
                return typed("scenes", "items", encodeList(payload));
            } else if constexpr (std::is_same_v<T, CLIResponse::Displays>) {
                return typed("displays", "items", encodeList(payload));
            } else if constexpr (std::is_same_v<T, CLIResponse::Settings>) {
                return typed("settings", "settings", payload.toJson());
            } else if constexpr (std::is_same_v<T, CLIResponse::Diagnostics>) {
                return typed("diagnostics", "diagnostics", payload.toJson());
            } else if constexpr (std::is_same_v<T, CLIResponse::ChangePlan>) {
                return typed("changePlan", "changePlan", payload.toJson());
            } else {
                // The apply case is named after the command, not the case.
                return typed("apply-safe-preset", "applied", payload.toJson());
            }
        },
        result);
}

}  // namespace

CLIResponse::Preset CLIResponse::Preset::of(const DisplayPreset& preset) {
    return {preset.id, preset.name, preset.kind, preset.adjustment};
}

Json CLIResponse::Preset::toJson() const {
    Json object = Json::object();
    object["id"] = id;
    object["name"] = name;
    object["kind"] = encodeValue<Json>(kind);
    object["adjustment"] = adjustment.toJson<Json>();
    return object;
}

CLIResponse::Scene CLIResponse::Scene::of(const DisplayScene& scene) {
    Scene out;
    out.id = scene.id;
    out.name = scene.name;
    out.kind = scene.kind;
    out.softwareOnly = scene.hardwareActions.empty();
    out.hardwareActionCount = static_cast<int>(scene.hardwareActions.size());
    out.hasFallbackAdjustment = scene.fallbackAdjustment.has_value();
    return out;
}

Json CLIResponse::Scene::toJson() const {
    Json object = Json::object();
    object["id"] = id;
    object["name"] = name;
    object["kind"] = encodeValue<Json>(kind);
    object["softwareOnly"] = softwareOnly;
    object["hardwareActionCount"] = hardwareActionCount;
    object["hasFallbackAdjustment"] = hasFallbackAdjustment;
    return object;
}

Json CLIResponse::Display::toJson() const {
    Json object = Json::object();
    object["id"] = id;
    object["title"] = title;
    object["name"] = name;
    object["identityRawValue"] = identityRawValue;
    object["hasReliableSerial"] = hasReliableSerial;
    object["isMain"] = isMain;
    object["isBuiltin"] = isBuiltin;
    putOptional(object, "hardwareBrightness", hardwareBrightness);
    return object;
}

Json CLIResponse::Settings::toJson() const {
    Json object = Json::object();
    object["schemaVersion"] = schemaVersion;
    object["textSize"] = textSize;
    object["appearance"] = appearance;
    object["autoApplyEnabled"] = autoApplyEnabled;
    object["softwareColorCorrectionEnabled"] = softwareColorCorrectionEnabled;
    object["brightnessSyncEnabled"] = brightnessSyncEnabled;
    putOptional(object, "brightnessSyncGroupID", brightnessSyncGroupID);
    object["sceneHotKeysEnabled"] = sceneHotKeysEnabled;
    object["sceneHotKeyBindingCount"] = sceneHotKeyBindingCount;
    object["customPresetCount"] = customPresetCount;
    object["customSceneCount"] = customSceneCount;
    object["customDisplayGroupCount"] = customDisplayGroupCount;
    object["savedAdjustmentCount"] = savedAdjustmentCount;
    return object;
}

Json CLIResponse::DiagnosticDisplay::toJson() const {
    Json object = Json::object();
    object["title"] = title;
    object["name"] = name;
    object["hasReliableSerial"] = hasReliableSerial;
    object["isMain"] = isMain;
    object["isBuiltin"] = isBuiltin;
    putOptional(object, "hardwareBrightness", hardwareBrightness);
    return object;
}

Json CLIResponse::Diagnostics::toJson() const {
    Json object = Json::object();
    object["source"] = source;
    object["displayCount"] = displayCount;
    object["savedAdjustmentCount"] = savedAdjustmentCount;
    object["customPresetCount"] = customPresetCount;
    object["customSceneCount"] = customSceneCount;
    object["customDisplayGroupCount"] = customDisplayGroupCount;
    object["autoApplyEnabled"] = autoApplyEnabled;
    object["softwareColorCorrectionEnabled"] = softwareColorCorrectionEnabled;
    object["brightnessSyncEnabled"] = brightnessSyncEnabled;
    object["sceneHotKeysEnabled"] = sceneHotKeysEnabled;
    object["displays"] = encodeList(displays);
    return object;
}

Json CLIResponse::ChangePlanEntry::toJson() const {
    Json object = Json::object();
    object["id"] = id;
    object["title"] = title;
    putOptional(object, "targetLabel", targetLabel);
    putOptional(object, "beforeValue", beforeValue);
    putOptional(object, "afterValue", afterValue);
    object["controlPath"] = controlPath;
    object["risk"] = risk;
    object["sideEffectPolicy"] = sideEffectPolicy;
    object["recoveryNote"] = recoveryNote;
    object["sideEffectNote"] = sideEffectNote;
    return object;
}

Json CLIResponse::ChangePlan::toJson() const {
    Json object = Json::object();
    object["id"] = id;
    object["title"] = title;
    object["summary"] = summary;
    object["entryCount"] = entryCount;
    object["entries"] = encodeList(entries);
    return object;
}

Json CLIResponse::AppliedDisplay::toJson() const {
    Json object = Json::object();
    object["id"] = id;
    object["name"] = name;
    object["identityRawValue"] = identityRawValue;
    return object;
}

Json CLIResponse::FailedDisplay::toJson() const {
    Json object = Json::object();
    object["id"] = id;
    object["name"] = name;
    object["identityRawValue"] = identityRawValue;
    object["message"] = message;
    return object;
}

Json CLIResponse::ApplyResult::toJson() const {
    Json object = Json::object();
    object["preset"] = preset.toJson();
    object["applied"] = encodeList(applied);
    object["failed"] = encodeList(failed);
    return object;
}

Json CLIResponse::toJson() const {
    Json object = Json::object();
    object["schemaVersion"] = schemaVersion;
    object["command"] = command;
    object["result"] = encodeResult(result);
    return object;
}

Json CLIErrorResponse::toJson() const {
    Json object = Json::object();
    object["schemaVersion"] = schemaVersion;
    object["error"] = error;
    object["exitCode"] = exitCode;
    object["message"] = message;
    return object;
}

}  // namespace quorvane
