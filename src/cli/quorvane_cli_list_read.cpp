#include "cli/cli_text.hpp"
#include "cli/quorvane_cli.hpp"
#include "models/coding/number_format.hpp"
#include "models/coding/text_joining.hpp"
#include "models/display/display_control_error.hpp"
#include "models/display/display_identity.hpp"
#include "platform/interfaces/brightness_controlling.hpp"
#include "platform/interfaces/cli_display_snapshot_providing.hpp"
#include "platform/interfaces/preferences_storing.hpp"

namespace quorvane {

namespace {

constexpr std::string_view kDot = " · ";

// The argument rules that `list` and `read` share. Returns the target word,
// or the status of the failure already reported.
std::variant<std::string, std::int32_t> checkTarget(QuorvaneCLI& cli, std::string_view command,
                                                    std::string_view targets,
                                                    const QuorvaneCLI::ParsedArguments& parsed) {
    const std::string name(command);
    const bool json = parsed.options.json;
    const auto usage = QuorvaneCLI::ExitCode::usage;
    if (parsed.positionals.empty()) {
        return cli.fail(
            usage, name + " 대상이 필요합니다. " + std::string(targets) + " 중 하나를 사용하세요.",
            json);
    }
    if (parsed.positionals.size() > 1) {
        return cli.fail(usage,
                        name + " 명령 인자가 너무 많습니다: " +
                            joined(std::vector<std::string>(parsed.positionals.begin() + 1,
                                                            parsed.positionals.end()),
                                   " "),
                        json);
    }
    if (!parsed.unknown.empty())
        return cli.fail(usage, "알 수 없는 옵션: " + joined(parsed.unknown, " "), json);
    if (parsed.options.display || parsed.options.allVisible || parsed.options.file) {
        return cli.fail(
            usage, name + " 명령에서는 --display/--all-visible/--file 옵션을 사용할 수 없습니다.",
            json);
    }
    return parsed.positionals.front();
}

std::string displayTitle(const DisplaySnapshot& display) {
    std::string title = display.name;
    if (display.isMain)
        title += std::string(kDot) + "Main";
    if (display.isBuiltin)
        title += std::string(kDot) + "Built-in";
    return title;
}

}  // namespace

std::variant<QuorvanePreferences, std::int32_t> QuorvaneCLI::loadPreferences(bool json) {
    auto loaded = environment_.preferencesStore->loadResult();
    if (loaded.recordUnreadable)
        return fail(ExitCode::failure, loaded.message.value_or(""), json);
    if (loaded.message) {
        reportNotice(*loaded.message);
        toldRecordRecovered_ = toldRecordRecovered_ || loaded.recoveredFromCorruption;
    }
    return std::move(loaded.preferences);
}

std::vector<DisplaySnapshot> QuorvaneCLI::activeDisplays(bool includeHardwareBrightness) {
    return environment_.displayProvider->activeCLIDisplays(*environment_.brightnessController,
                                                           includeHardwareBrightness);
}

std::variant<std::vector<DisplaySnapshot>, std::int32_t> QuorvaneCLI::reachableDisplays(
    bool includeHardwareBrightness, bool json) {
    try {
        return activeDisplays(includeHardwareBrightness);
    } catch (const DisplayControlError& error) {
        if (!error.isDisplayServerUnreachable())
            throw;
        return failForDisplayServer(error, json);
    }
}

std::int32_t QuorvaneCLI::failForDisplayServer(const DisplayControlError& error, bool json) {
    return fail(ExitCode::notFound,
                error.isDisplayServerLost() ? lostDisplayServerMessage() : displayServerMessage(),
                json);
}

std::int32_t QuorvaneCLI::handleList(const std::vector<std::string>& arguments) {
    const auto parsed = parseOptions(arguments);
    const auto target = checkTarget(*this, "list", "presets, scenes, displays", parsed);
    if (const auto* status = std::get_if<std::int32_t>(&target))
        return *status;
    const auto& word = std::get<std::string>(target);
    const bool json = parsed.options.json;
    if (word == "presets")
        return emitPresetList(json);
    if (word == "scenes")
        return emitSceneList(json);
    if (word == "displays")
        return emitDisplayList(json);
    return fail(ExitCode::usage, "알 수 없는 list 대상입니다: " + word, json);
}

std::int32_t QuorvaneCLI::handleRead(const std::vector<std::string>& arguments) {
    const auto parsed = parseOptions(arguments);
    const auto target = checkTarget(*this, "read", "settings, displays, diagnostics", parsed);
    if (const auto* status = std::get_if<std::int32_t>(&target))
        return *status;
    const auto& word = std::get<std::string>(target);
    const bool json = parsed.options.json;
    if (word == "settings")
        return emitSettingsSummary(json);
    if (word == "displays")
        return emitDisplayList(json);
    if (word == "diagnostics")
        return emitDiagnosticsSummary(json);
    return fail(ExitCode::usage, "알 수 없는 read 대상입니다: " + word, json);
}

std::int32_t QuorvaneCLI::emitPresetList(bool json) {
    const auto loaded = loadPreferences(json);
    if (const auto* status = std::get_if<std::int32_t>(&loaded))
        return *status;
    const auto& preferences = std::get<QuorvanePreferences>(loaded);
    CLIResponse::Presets items;
    for (const auto& preset : DisplayPreset::builtIns())
        items.push_back(CLIResponse::Preset::of(preset));
    for (const auto& preset : preferences.customPresets)
        items.push_back(CLIResponse::Preset::of(preset));
    if (json)
        return emitJSON({1, "list presets", items});

    std::vector<std::string> lines{"Presets:"};
    for (const auto& item : items) {
        lines.push_back("- " + visibleControlCharacters(item.id) + std::string(kDot) +
                        visibleControlCharacters(item.name) + std::string(kDot) +
                        std::string(caseName(item.kind)));
    }
    writeLines(lines);
    return static_cast<std::int32_t>(ExitCode::success);
}

std::int32_t QuorvaneCLI::emitSceneList(bool json) {
    const auto loaded = loadPreferences(json);
    if (const auto* status = std::get_if<std::int32_t>(&loaded))
        return *status;
    const auto& preferences = std::get<QuorvanePreferences>(loaded);
    CLIResponse::Scenes items;
    for (const auto& scene : DisplayScene::builtIns())
        items.push_back(CLIResponse::Scene::of(scene));
    for (const auto& scene : preferences.customScenes)
        items.push_back(CLIResponse::Scene::of(scene));
    if (json)
        return emitJSON({1, "list scenes", items});

    std::vector<std::string> lines{"Scenes:"};
    for (const auto& item : items) {
        const std::string nature =
            item.softwareOnly ? "software-only" : "hardware metadata present (not executed)";
        lines.push_back("- " + visibleControlCharacters(item.id) + std::string(kDot) +
                        visibleControlCharacters(item.name) + std::string(kDot) +
                        std::string(caseName(item.kind)) + std::string(kDot) + nature);
    }
    writeLines(lines);
    return static_cast<std::int32_t>(ExitCode::success);
}

std::int32_t QuorvaneCLI::emitDisplayList(bool json) {
    const auto reached = reachableDisplays(true, json);
    if (const auto* status = std::get_if<std::int32_t>(&reached))
        return *status;
    CLIResponse::Displays items;
    for (const auto& display : std::get<std::vector<DisplaySnapshot>>(reached)) {
        const auto identity = DisplayIdentity::of(display);
        items.push_back({display.id, displayTitle(display), display.name, identity.rawValue,
                         identity.hasReliableSerial, display.isMain, display.isBuiltin,
                         display.hardwareBrightness});
    }
    // `read displays` shares this output, command name included.
    if (json)
        return emitJSON({1, "list displays", items});

    std::vector<std::string> lines{"Displays:"};
    for (const auto& item : items) {
        lines.push_back("- " + formatDecimal(item.id) + std::string(kDot) +
                        visibleControlCharacters(item.title) + std::string(kDot) +
                        "selector: " + visibleControlCharacters(item.identityRawValue));
    }
    writeLines(lines);
    return static_cast<std::int32_t>(ExitCode::success);
}

std::int32_t QuorvaneCLI::emitSettingsSummary(bool json) {
    const auto loaded = loadPreferences(json);
    if (const auto* status = std::get_if<std::int32_t>(&loaded))
        return *status;
    const auto settings = CLIResponse::Settings::of(std::get<QuorvanePreferences>(loaded));
    if (json)
        return emitJSON({1, "read settings", settings});

    writeLines({
        "Settings:",
        "- schema: " + formatDecimal(settings.schemaVersion),
        "- text size: " + settings.textSize,
        "- appearance: " + settings.appearance,
        "- auto apply: " + std::string(onOff(settings.autoApplyEnabled)),
        "- software color correction: " +
            std::string(onOff(settings.softwareColorCorrectionEnabled)),
        "- brightness sync: " + std::string(onOff(settings.brightnessSyncEnabled)),
        "- scene hotkeys: " + std::string(onOff(settings.sceneHotKeysEnabled)),
        "- saved display adjustments: " + formatDecimal(settings.savedAdjustmentCount),
        "- custom presets/scenes/groups: " + formatDecimal(settings.customPresetCount) + "/" +
            formatDecimal(settings.customSceneCount) + "/" +
            formatDecimal(settings.customDisplayGroupCount),
    });
    return static_cast<std::int32_t>(ExitCode::success);
}

std::int32_t QuorvaneCLI::emitDiagnosticsSummary(bool json) {
    const auto loaded = loadPreferences(json);
    if (const auto* status = std::get_if<std::int32_t>(&loaded))
        return *status;
    const auto& preferences = std::get<QuorvanePreferences>(loaded);
    const auto reached = reachableDisplays(false, json);
    if (const auto* status = std::get_if<std::int32_t>(&reached))
        return *status;
    const auto& displays = std::get<std::vector<DisplaySnapshot>>(reached);

    CLIResponse::Diagnostics diagnostics;
    diagnostics.displayCount = static_cast<int>(displays.size());
    diagnostics.savedAdjustmentCount = static_cast<int>(preferences.displayAdjustments.size());
    diagnostics.customPresetCount = static_cast<int>(preferences.customPresets.size());
    diagnostics.customSceneCount = static_cast<int>(preferences.customScenes.size());
    diagnostics.customDisplayGroupCount = static_cast<int>(preferences.customDisplayGroups.size());
    diagnostics.autoApplyEnabled = preferences.autoApplyEnabled;
    diagnostics.softwareColorCorrectionEnabled = preferences.softwareColorCorrectionEnabled;
    diagnostics.brightnessSyncEnabled = preferences.brightnessSyncEnabled;
    diagnostics.sceneHotKeysEnabled = preferences.sceneHotKeysEnabled;
    for (std::size_t i = 0; i < displays.size(); ++i) {
        // Numbered, never named: no name, number or identity leaves this command.
        const std::string title = "Display " + formatDecimal(static_cast<std::uint64_t>(i + 1));
        diagnostics.displays.push_back({title, title,
                                        DisplayIdentity::of(displays[i]).hasReliableSerial,
                                        displays[i].isMain, displays[i].isBuiltin, std::nullopt});
    }
    if (json)
        return emitJSON({1, "read diagnostics", diagnostics});

    writeLines({
        "Diagnostics (CLI read-only):",
        "- source: " + diagnostics.source,
        "- displays: " + formatDecimal(diagnostics.displayCount),
        "- saved display adjustments: " + formatDecimal(diagnostics.savedAdjustmentCount),
        "- custom presets/scenes/groups: " + formatDecimal(diagnostics.customPresetCount) + "/" +
            formatDecimal(diagnostics.customSceneCount) + "/" +
            formatDecimal(diagnostics.customDisplayGroupCount),
        "- auto apply: " + std::string(onOff(diagnostics.autoApplyEnabled)),
        "- software color correction: " +
            std::string(onOff(diagnostics.softwareColorCorrectionEnabled)),
        "- brightness sync: " + std::string(onOff(diagnostics.brightnessSyncEnabled)),
        "- scene hotkeys: " + std::string(onOff(diagnostics.sceneHotKeysEnabled)),
    });
    return static_cast<std::int32_t>(ExitCode::success);
}

}  // namespace quorvane
