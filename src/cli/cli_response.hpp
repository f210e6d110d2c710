#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "models/coding/json_coding.hpp"
#include "models/color/color_adjustment.hpp"
#include "models/presets/display_preset.hpp"
#include "models/presets/display_scene.hpp"
#include "models/presets/item_kind.hpp"

namespace quorvane {

struct QuorvanePreferences;
struct QuorvaneChangePlan;

// The command line's machine-readable output: one envelope per successful
// command. Records are only ever encoded; keys are the field names, absent
// optionals are left out, lists are always written, and the runner writes
// them pretty-printed with sorted keys.
struct CLIResponse {
    struct Preset {
        std::string id;
        std::string name;
        ItemKind kind = ItemKind::builtIn;
        ColorAdjustment adjustment;

        static Preset of(const DisplayPreset& preset);
        Json toJson() const;
    };

    struct Scene {
        std::string id;
        std::string name;
        ItemKind kind = ItemKind::builtIn;
        bool softwareOnly = true;
        int hardwareActionCount = 0;
        bool hasFallbackAdjustment = false;

        static Scene of(const DisplayScene& scene);
        Json toJson() const;
    };

    struct Display {
        std::uint32_t id = 0;
        std::string title;
        std::string name;
        std::string identityRawValue;
        bool hasReliableSerial = false;
        bool isMain = false;
        bool isBuiltin = false;
        std::optional<double> hardwareBrightness;

        Json toJson() const;
    };

    struct Settings {
        std::int64_t schemaVersion = 1;
        std::string textSize;
        std::string appearance;
        bool autoApplyEnabled = false;
        bool softwareColorCorrectionEnabled = false;
        bool brightnessSyncEnabled = false;
        std::optional<std::string> brightnessSyncGroupID;
        bool sceneHotKeysEnabled = false;
        int sceneHotKeyBindingCount = 0;
        int customPresetCount = 0;
        int customSceneCount = 0;
        int customDisplayGroupCount = 0;
        int savedAdjustmentCount = 0;

        // The stored record in summary: its schema version as stored, the
        // display settings, the behaviour switches and the counts.
        static Settings of(const QuorvanePreferences& preferences);
        Json toJson() const;
    };

    // One display in the read-only diagnostics: never its name, numbers or identity.
    struct DiagnosticDisplay {
        std::string title;
        std::string name;
        bool hasReliableSerial = false;
        bool isMain = false;
        bool isBuiltin = false;
        std::optional<double> hardwareBrightness;

        Json toJson() const;
    };

    struct Diagnostics {
        std::string source = "cli-read-only";
        int displayCount = 0;
        int savedAdjustmentCount = 0;
        int customPresetCount = 0;
        int customSceneCount = 0;
        int customDisplayGroupCount = 0;
        bool autoApplyEnabled = false;
        bool softwareColorCorrectionEnabled = false;
        bool brightnessSyncEnabled = false;
        bool sceneHotKeysEnabled = false;
        std::vector<DiagnosticDisplay> displays;

        Json toJson() const;
    };

    struct ChangePlanEntry {
        std::string id;
        std::string title;
        std::optional<std::string> targetLabel;
        std::optional<std::string> beforeValue;
        std::optional<std::string> afterValue;
        std::string controlPath;
        std::string risk;
        std::string sideEffectPolicy;
        std::string recoveryNote;
        std::string sideEffectNote;

        Json toJson() const;
    };

    struct ChangePlan {
        std::string id;
        std::string title;
        std::string summary;
        int entryCount = 0;
        std::vector<ChangePlanEntry> entries;

        // Numbers the per-display entries instead of naming the imported
        // identities, so no identity of the file reaches the output.
        static ChangePlan of(const QuorvaneChangePlan& plan);
        Json toJson() const;
    };

    struct AppliedDisplay {
        std::uint32_t id = 0;
        std::string name;
        std::string identityRawValue;

        Json toJson() const;
    };

    struct FailedDisplay {
        std::uint32_t id = 0;
        std::string name;
        std::string identityRawValue;
        std::string message;

        Json toJson() const;
    };

    struct ApplyResult {
        Preset preset;
        std::vector<AppliedDisplay> applied;
        std::vector<FailedDisplay> failed;

        Json toJson() const;
    };

    using Presets = std::vector<Preset>;
    using Scenes = std::vector<Scene>;
    using Displays = std::vector<Display>;
    // Encoded as {"type": <case>, <payload key>: <payload>}.
    using Result =
        std::variant<Presets, Scenes, Displays, Settings, Diagnostics, ChangePlan, ApplyResult>;

    int schemaVersion = 1;
    std::string command;
    Result result;

    Json toJson() const;
};

// The failure envelope written to standard error.
struct CLIErrorResponse {
    int schemaVersion = 1;
    bool error = true;
    std::int32_t exitCode = 0;
    std::string message;

    Json toJson() const;
};

}  // namespace quorvane
