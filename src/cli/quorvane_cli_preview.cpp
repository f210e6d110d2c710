#include <filesystem>

#include "cli/cli_text.hpp"
#include "cli/quorvane_cli.hpp"
#include "models/coding/number_format.hpp"
#include "models/coding/text_joining.hpp"
#include "models/coding/unicode_text.hpp"
#include "models/display/display_control_error.hpp"
#include "models/settings/quorvane_settings_document_error.hpp"
#include "models/settings/quorvane_settings_import_display_mapping.hpp"
#include "models/settings/quorvane_settings_import_draft.hpp"
#include "platform/interfaces/brightness_controlling.hpp"
#include "platform/interfaces/cli_display_snapshot_providing.hpp"
#include "services/persistence/quorvane_change_plan_builder.hpp"
#include "services/persistence/quorvane_settings_document_coder.hpp"
#include "services/persistence/quorvane_settings_file_loader.hpp"
#include "services/persistence/quorvane_settings_file_read_error.hpp"

namespace quorvane {

std::int32_t QuorvaneCLI::handlePreview(const std::vector<std::string>& arguments) {
    const auto parsed = parseOptions(arguments);
    const bool json = parsed.options.json;
    if (parsed.positionals.empty())
        return fail(ExitCode::usage, "preview 대상이 필요합니다. import-plan을 사용하세요.", json);
    if (parsed.positionals.size() > 1) {
        return fail(ExitCode::usage,
                    "preview 명령 인자가 너무 많습니다: " +
                        joined(std::vector<std::string>(parsed.positionals.begin() + 1,
                                                        parsed.positionals.end()),
                               " "),
                    json);
    }
    if (!parsed.unknown.empty())
        return fail(ExitCode::usage, "알 수 없는 옵션: " + joined(parsed.unknown, " "), json);
    if (parsed.options.display || parsed.options.allVisible) {
        return fail(ExitCode::usage,
                    "preview import-plan은 --display/--all-visible 옵션을 사용할 수 없습니다.",
                    json);
    }
    if (parsed.positionals.front() != "import-plan") {
        return fail(ExitCode::usage, "알 수 없는 preview 대상입니다: " + parsed.positionals.front(),
                    json);
    }
    const std::string path =
        parsed.options.file ? trimWhitespaceAndNewlines(*parsed.options.file) : std::string();
    if (path.empty()) {
        return fail(ExitCode::usage,
                    "preview import-plan에는 --file <settings-json> 옵션이 필요합니다.", json);
    }
    return emitImportPlanPreview(path, json);
}

std::int32_t QuorvaneCLI::emitImportPlanPreview(const std::string& filePath, bool json) {
    // The loader never holds more than one byte over the limit and never
    // waits for ever on a pipe or device, whatever the path names.
    std::string bytes;
    try {
        bytes = QuorvaneSettingsFileLoader::loadData(std::filesystem::path(filePath));
    } catch (const QuorvaneSettingsDocumentError& error) {
        return fail(ExitCode::usage, error.description(), json);
    } catch (const QuorvaneSettingsFileReadError& error) {
        return fail(ExitCode::notFound,
                    "설정 파일을 읽지 못했습니다: " + filePath + " — " + error.description(), json);
    }

    QuorvanePreferences imported;
    try {
        imported = QuorvaneSettingsDocumentCoder{}.decode(bytes);
    } catch (const QuorvaneSettingsDocumentError& error) {
        return fail(ExitCode::usage, "설정 파일 형식이 올바르지 않습니다: " + error.description(),
                    json);
    }

    // The plan is still worth seeing without a screen: every display entry
    // is then skipped, and the user is told why. A connection that broke
    // midway is no server missing: the displays are there, only unread, and
    // a plan that skipped them would be wrong, so the command ends on that
    // loss as every other does.
    std::vector<DisplaySnapshot> displays;
    try {
        displays = activeDisplays(true);
    } catch (const DisplayControlError& error) {
        if (!error.isDisplayServerUnreachable())
            throw;
        if (error.isDisplayServerLost())
            return failForDisplayServer(error, json);
        reportNotice(displayServerMessage() + " 연결된 디스플레이 없이 계획을 미리 봅니다.");
    }
    const auto draft = QuorvaneSettingsImportDraft::of(std::move(imported));
    const auto mappings = QuorvaneSettingsImportDisplayMapping::defaultMappings(draft, displays);
    const auto plan = CLIResponse::ChangePlan::of(QuorvaneChangePlanBuilder::settingsImportPlan(
        draft, QuorvaneSettingsImportMode::fullWithDisplayMapping, mappings, {}, false));
    if (json)
        return emitJSON({1, "preview import-plan", plan});

    writeLines({
        "Settings import preview:",
        "- " + visibleControlCharacters(plan.title),
        "- " + visibleControlCharacters(plan.summary),
        "- entries: " + formatDecimal(plan.entryCount),
        "This preview command saved no settings and called no display APIs.",
    });
    return static_cast<std::int32_t>(ExitCode::success);
}

}  // namespace quorvane
