#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "models/coding/json_coding.hpp"
#include "models/color/color_adjustment.hpp"
#include "models/hot_keys/hot_key_combination.hpp"
#include "models/hot_keys/scene_hot_key_binding.hpp"
#include "models/presets/display_group.hpp"
#include "models/presets/display_preset.hpp"
#include "models/presets/display_scene.hpp"
#include "models/settings/quorvane_appearance.hpp"
#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// The application's one persisted settings record. Decoding is lenient per
// key (a missing or null key takes its default) and strict per value (a value
// of the wrong type, an unknown case name or a broken nested record fails the
// whole decode).
struct QuorvanePreferences {
    // Kept as read and written back unchanged; never validated.
    std::int64_t schemaVersion = 1;
    bool autoApplyEnabled = true;
    bool urlPresetAutomationEnabled = false;
    bool softwareColorCorrectionEnabled = true;
    QuorvaneTextSize textSize = QuorvaneTextSize::large;
    QuorvaneAppearance appearance = QuorvaneAppearance::system;
    // By display identity raw value.
    std::map<std::string, ColorAdjustment> displayAdjustments;
    // By alias key.
    std::map<std::string, std::string> displayAliasesByKey;
    std::optional<std::string> lastSelectedDisplayIdentity;
    std::vector<DisplayPreset> customPresets;
    std::vector<DisplayScene> customScenes;
    std::vector<DisplayGroup> customDisplayGroups;
    bool brightnessSyncEnabled = false;
    // Absent: brightness sync reaches every other display.
    std::optional<std::string> brightnessSyncGroupID;
    bool sceneHotKeysEnabled = false;
    // Always in merged form: one binding per default binding first.
    std::vector<SceneHotKeyBinding> sceneHotKeyBindings = SceneHotKeyBinding::defaultBindings();
    bool emergencyRecoveryHotKeyEnabled = true;
    HotKeyCombination emergencyRecoveryHotKeyCombination =
        HotKeyCombination::defaultEmergencyRecovery();

    bool operator==(const QuorvanePreferences&) const = default;

    // The record of a first run, and what a full reset restores; equal to a
    // default-constructed record.
    static const QuorvanePreferences& defaults();

    template <class J>
    J toJson() const;
    template <class J>
    static QuorvanePreferences fromJson(const J& object);

    // Compact JSON in field order; nullopt when the record holds a number
    // JSON cannot express (NaN or infinity), so nothing broken is written.
    std::optional<std::string> encoded() const;
    // Throws JsonDecodeError when the bytes are not a decodable record.
    static QuorvanePreferences decoded(std::string_view bytes);
};

template <class J>
J QuorvanePreferences::toJson() const {
    J object = J::object();
    object["schemaVersion"] = schemaVersion;
    object["autoApplyEnabled"] = autoApplyEnabled;
    object["urlPresetAutomationEnabled"] = urlPresetAutomationEnabled;
    object["softwareColorCorrectionEnabled"] = softwareColorCorrectionEnabled;
    object["textSize"] = encodeValue<J>(textSize);
    object["appearance"] = encodeValue<J>(appearance);
    object["displayAdjustments"] = encodeValue<J>(displayAdjustments);
    object["displayAliasesByKey"] = encodeValue<J>(displayAliasesByKey);
    putOptional(object, "lastSelectedDisplayIdentity", lastSelectedDisplayIdentity);
    object["customPresets"] = encodeValue<J>(customPresets);
    object["customScenes"] = encodeValue<J>(customScenes);
    object["customDisplayGroups"] = encodeValue<J>(customDisplayGroups);
    object["brightnessSyncEnabled"] = brightnessSyncEnabled;
    putOptional(object, "brightnessSyncGroupID", brightnessSyncGroupID);
    object["sceneHotKeysEnabled"] = sceneHotKeysEnabled;
    object["sceneHotKeyBindings"] = encodeValue<J>(sceneHotKeyBindings);
    object["emergencyRecoveryHotKeyEnabled"] = emergencyRecoveryHotKeyEnabled;
    object["emergencyRecoveryHotKeyCombination"] =
        emergencyRecoveryHotKeyCombination.template toJson<J>();
    return object;
}

template <class J>
QuorvanePreferences QuorvanePreferences::fromJson(const J& object) {
    if (!object.is_object())
        throw JsonDecodeError("JSON decode failed: expected an object");
    const QuorvanePreferences& fallback = defaults();
    QuorvanePreferences record;
    record.schemaVersion = keyOr<std::int64_t>(object, "schemaVersion", fallback.schemaVersion);
    record.autoApplyEnabled = keyOr<bool>(object, "autoApplyEnabled", fallback.autoApplyEnabled);
    record.urlPresetAutomationEnabled =
        keyOr<bool>(object, "urlPresetAutomationEnabled", fallback.urlPresetAutomationEnabled);
    record.softwareColorCorrectionEnabled = keyOr<bool>(object, "softwareColorCorrectionEnabled",
                                                        fallback.softwareColorCorrectionEnabled);
    record.textSize = keyOr<QuorvaneTextSize>(object, "textSize", fallback.textSize);
    record.appearance = keyOr<QuorvaneAppearance>(object, "appearance", fallback.appearance);
    record.displayAdjustments = keyOr<std::map<std::string, ColorAdjustment>>(
        object, "displayAdjustments", fallback.displayAdjustments);
    record.displayAliasesByKey = keyOr<std::map<std::string, std::string>>(
        object, "displayAliasesByKey", fallback.displayAliasesByKey);
    record.lastSelectedDisplayIdentity =
        optionalKey<std::string>(object, "lastSelectedDisplayIdentity");
    record.customPresets =
        keyOr<std::vector<DisplayPreset>>(object, "customPresets", fallback.customPresets);
    record.customScenes =
        keyOr<std::vector<DisplayScene>>(object, "customScenes", fallback.customScenes);
    record.customDisplayGroups = keyOr<std::vector<DisplayGroup>>(object, "customDisplayGroups",
                                                                  fallback.customDisplayGroups);
    record.brightnessSyncEnabled =
        keyOr<bool>(object, "brightnessSyncEnabled", fallback.brightnessSyncEnabled);
    record.brightnessSyncGroupID = optionalKey<std::string>(object, "brightnessSyncGroupID");
    record.sceneHotKeysEnabled =
        keyOr<bool>(object, "sceneHotKeysEnabled", fallback.sceneHotKeysEnabled);
    record.sceneHotKeyBindings =
        SceneHotKeyBinding::mergedWithDefaultBindings(keyOr<std::vector<SceneHotKeyBinding>>(
            object, "sceneHotKeyBindings", SceneHotKeyBinding::defaultBindings()));
    record.emergencyRecoveryHotKeyEnabled = keyOr<bool>(object, "emergencyRecoveryHotKeyEnabled",
                                                        fallback.emergencyRecoveryHotKeyEnabled);
    record.emergencyRecoveryHotKeyCombination = keyOr<HotKeyCombination>(
        object, "emergencyRecoveryHotKeyCombination", fallback.emergencyRecoveryHotKeyCombination);
    return record;
}

}  // namespace quorvane
