#include "cli/cli_text.hpp"
#include "cli/quorvane_cli.hpp"
#include "models/coding/number_format.hpp"
#include "models/coding/text_joining.hpp"
#include "models/coding/unicode_text.hpp"
#include "models/display/display_control_error.hpp"
#include "models/display/display_identity.hpp"
#include "platform/interfaces/gamma_controlling.hpp"
#include "platform/interfaces/preferences_storing.hpp"
#include "services/persistence/record_merge.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"

namespace quorvane {

namespace {

// The screen changed and the record did not (a save leaves record and
// stamp as they were): every reason but an unreadable record already says
// the settings were not saved, and says it once.
std::string appliedButNotSavedMessage(const DefaultsStoreError& error) {
    if (error.kind == DefaultsStoreError::Kind::unreadable)
        return "화면에는 적용했지만 설정을 저장하지 못했습니다: " + error.description();
    return "화면에는 적용했지만 " + error.description();
}

// Why a display was left as a request asked later set it.
constexpr std::string_view kSetByALaterRequest =
    "나중에 요청된 변경이 이미 저장되어 있어 이 디스플레이는 바꾸지 않았습니다.";

// The stdout summary's tail when not every display took the preset.
std::string notCarriedOutCounts(std::size_t failed, std::size_t setLater) {
    std::vector<std::string> parts;
    if (failed > 0)
        parts.push_back(formatDecimal(static_cast<std::uint64_t>(failed)) + " failed");
    if (setLater > 0) {
        parts.push_back(formatDecimal(static_cast<std::uint64_t>(setLater)) +
                        " already set by a later request");
    }
    return joined(parts, ", ");
}

}  // namespace

std::int32_t QuorvaneCLI::handleApplySafePreset(const std::vector<std::string>& arguments) {
    // The record as it stands is seen first: one put there by hand a
    // moment ago, whose file time (in whole seconds on some file systems)
    // may read as later than now, is then known to be older than this
    // request.
    environment_.preferencesStore->loadRequests();
    // Asked now, however long the settings lock keeps the command waiting.
    const Date askedAt = environment_.requestNow();
    const auto parsed = parseOptions(arguments);
    const auto& options = parsed.options;
    const bool json = options.json;
    if (!parsed.unknown.empty())
        return fail(ExitCode::usage, "알 수 없는 옵션: " + joined(parsed.unknown, " "), json);
    if (options.file) {
        return fail(ExitCode::usage,
                    "apply-safe-preset 명령에서는 --file 옵션을 사용할 수 없습니다.", json);
    }
    if (parsed.positionals.size() != 1) {
        return fail(ExitCode::usage, "apply-safe-preset에는 프리셋 id 또는 이름이 하나 필요합니다.",
                    json);
    }
    if (options.display && options.allVisible) {
        return fail(ExitCode::usage, "--display와 --all-visible은 함께 사용할 수 없습니다.", json);
    }

    // Held from the load to the save, around the ramp writes too, so
    // commands started together neither lose each other's saved values nor
    // leave the screen and the record disagreeing.
    const auto lock = environment_.preferencesStore->lockExclusively();
    // Another Quorvane kept the lock past the wait (stopped, or hung): the
    // command changes neither the screen nor the record, and says so.
    if (lock.failure()) {
        return fail(ExitCode::failure,
                    "화면에 적용하지 않았습니다: " + lock.failure()->description(), json);
    }
    const auto loaded = loadPreferences(json);
    if (const auto* status = std::get_if<std::int32_t>(&loaded))
        return *status;
    const auto& preferences = std::get<QuorvanePreferences>(loaded);
    // Read under the lock: what requests asked while this one waited set.
    const auto recordRequests = environment_.preferencesStore->lastLoadRequests();
    std::vector<DisplayPreset> candidates = DisplayPreset::builtIns();
    candidates.insert(candidates.end(), preferences.customPresets.begin(),
                      preferences.customPresets.end());
    const std::string& query = parsed.positionals.front();
    const auto preset = resolvePreset(query, candidates);
    if (preset.kind == PresetResolution::Kind::missing)
        return fail(ExitCode::notFound, "프리셋을 찾지 못했습니다: " + query, json);
    if (preset.kind == PresetResolution::Kind::ambiguous) {
        std::vector<std::string> items;
        for (const auto& match : preset.presets)
            items.push_back(match.name + " (" + match.id + ")");
        return fail(ExitCode::usage,
                    "프리셋 이름이 중복됩니다. id를 사용하세요: " + joined(items, ", "), json);
    }

    // The preset is resolved first, so an unknown preset is reported as such
    // even with no display connected.
    const auto reached = reachableDisplays(true, json);
    if (const auto* status = std::get_if<std::int32_t>(&reached))
        return *status;
    const auto& displays = std::get<std::vector<DisplaySnapshot>>(reached);
    if (displays.empty())
        return fail(ExitCode::notFound, "활성 디스플레이를 찾지 못했습니다.", json);
    if (!options.display)
        return apply(preset.presets.front(), displays, preferences, json, askedAt, recordRequests);

    const auto target = resolveDisplay(*options.display, displays);
    if (target.kind == DisplayResolution::Kind::missing)
        return fail(ExitCode::notFound, "디스플레이를 찾지 못했습니다: " + *options.display, json);
    if (target.kind == DisplayResolution::Kind::ambiguous) {
        std::vector<std::string> items;
        for (const auto& match : target.displays)
            items.push_back(match.name + " (" + DisplayIdentity::of(match).rawValue + ")");
        return fail(
            ExitCode::usage,
            "디스플레이 식별자가 중복됩니다. display id를 사용하세요: " + joined(items, ", "),
            json);
    }
    return apply(preset.presets.front(), target.displays, preferences, json, askedAt,
                 recordRequests);
}

std::optional<QuorvanePreferences> QuorvaneCLI::showTheRecordSaved(
    CLIResponse::ApplyResult& result, std::vector<std::string>& setLaterNames,
    const ColorAdjustment& applied, Date askedAt, const TouchedRecordParts& loadedRequests) {
    const auto& store = *environment_.preferencesStore;
    // Most often the record is this command's own write, on the requests
    // it loaded: nothing more to show, and nothing to decode.
    if (store.loadRequests() == loadedRequests)
        return std::nullopt;
    const auto record = store.loadResult();
    const auto requests = store.lastLoadRequests();
    if (record.recordUnreadable || record.recoveredFromCorruption || requests == loadedRequests)
        return std::nullopt;
    const auto& stored = record.preferences;
    // A record no stamp describes is dated, whole, by its file: under a
    // lock taken from under the command that is another writer's record
    // whose stamps a third write replaced, not a request.
    const bool requestsNamed =
        !record.writtenAt || requests != TouchedRecordParts::all(*record.writtenAt);
    for (const auto& display : result.applied) {
        const auto value = stored.displayAdjustments.find(display.identityRawValue);
        if (value != stored.displayAdjustments.end() && value->second == applied)
            continue;
        const auto setAt = requests.askedAt(RecordMerge::PreferencesPart::displayAdjustments,
                                            display.identityRawValue);
        if (!requestsNamed || !setAt || *setAt <= askedAt)
            return stored;
    }
    std::vector<CLIResponse::AppliedDisplay> carriedOut;
    for (auto& display : result.applied) {
        const auto value = stored.displayAdjustments.find(display.identityRawValue);
        if (value == stored.displayAdjustments.end()) {
            carriedOut.push_back(std::move(display));
            continue;
        }
        const auto shown =
            stored.softwareColorCorrectionEnabled ? value->second : ColorAdjustment::neutral();
        try {
            environment_.gammaController->setTransferTables(
                environment_.gammaController->makeTransferTables(shown), display.id);
        } catch (const DisplayControlError&) {
            // The record keeps its value either way; the screen follows it
            // at the next start or write.
        }
        const auto setAt = requests.askedAt(RecordMerge::PreferencesPart::displayAdjustments,
                                            display.identityRawValue);
        // The record holds this command's value: it is in effect, whoever
        // else asked for it and however its requests are dated.
        if (!setAt || *setAt <= askedAt || value->second == applied) {
            carriedOut.push_back(std::move(display));
            continue;
        }
        setLaterNames.push_back(visibleControlCharacters(display.name));
        result.failed.push_back({display.id, std::move(display.name),
                                 std::move(display.identityRawValue),
                                 std::string(kSetByALaterRequest)});
    }
    result.applied = std::move(carriedOut);
    return std::nullopt;
}

QuorvaneCLI::PresetResolution QuorvaneCLI::resolvePreset(
    const std::string& query, const std::vector<DisplayPreset>& presets) {
    for (const auto& preset : presets) {
        if (preset.id == query)
            return {PresetResolution::Kind::success, {preset}};
    }
    const std::string wanted = lowercased(trimWhitespaceAndNewlines(query));
    std::vector<DisplayPreset> matches;
    for (const auto& preset : presets) {
        if (lowercased(trimWhitespaceAndNewlines(preset.name)) == wanted)
            matches.push_back(preset);
    }
    if (matches.empty())
        return {PresetResolution::Kind::missing, {}};
    if (matches.size() == 1)
        return {PresetResolution::Kind::success, std::move(matches)};
    return {PresetResolution::Kind::ambiguous, std::move(matches)};
}

QuorvaneCLI::DisplayResolution QuorvaneCLI::resolveDisplay(
    const std::string& selector, const std::vector<DisplaySnapshot>& displays) {
    for (const auto& display : displays) {
        if (formatDecimal(display.id) == selector)
            return {DisplayResolution::Kind::success, {display}};
    }
    std::vector<DisplaySnapshot> matches;
    for (const auto& display : displays) {
        if (DisplayIdentity::of(display).rawValue == selector)
            matches.push_back(display);
    }
    if (matches.empty())
        return {DisplayResolution::Kind::missing, {}};
    if (matches.size() == 1)
        return {DisplayResolution::Kind::success, std::move(matches)};
    return {DisplayResolution::Kind::ambiguous, std::move(matches)};
}

std::int32_t QuorvaneCLI::apply(const DisplayPreset& preset,
                                const std::vector<DisplaySnapshot>& targets,
                                const QuorvanePreferences& preferences, bool json, Date askedAt,
                                const TouchedRecordParts& recordRequests) {
    const bool correctionOn = preferences.softwareColorCorrectionEnabled;
    // With correction off the screen stays neutral, but the preset is still
    // remembered for each display.
    const ColorAdjustment written = correctionOn ? preset.adjustment : ColorAdjustment::neutral();
    const auto tables = environment_.gammaController->makeTransferTables(written);

    QuorvanePreferences working = preferences;
    TouchedRecordParts touched;
    CLIResponse::ApplyResult result{CLIResponse::Preset::of(preset), {}, {}};
    // As the text names them: displays that failed, and those left to a
    // later request (both in `failed` of the JSON result).
    std::vector<std::string> failedNames;
    std::vector<std::string> setLaterNames;
    // A request asked after this one set a display while this one waited
    // for the lock: it stands, on the screen and in the record. The others
    // are written all at once.
    const auto setLater = [&](const DisplaySnapshot& display) {
        const auto setAt = recordRequests.askedAt(RecordMerge::PreferencesPart::displayAdjustments,
                                                  DisplayIdentity::of(display).rawValue);
        return setAt && *setAt > askedAt;
    };
    std::vector<DisplayID> writtenTo;
    for (const auto& display : targets) {
        if (!setLater(display))
            writtenTo.push_back(display.id);
    }
    const auto answers = environment_.gammaController->setTransferTablesOnEach(tables, writtenTo);
    // The server went away mid-command: nothing more can be applied and
    // what was applied went with it, so nothing is saved.
    for (const auto& answer : answers) {
        if (answer && answer->isDisplayServerUnreachable())
            return fail(ExitCode::notFound, lostDisplayServerMessage(), json);
    }
    auto answer = answers.begin();
    for (const auto& display : targets) {
        const std::string identity = DisplayIdentity::of(display).rawValue;
        if (setLater(display)) {
            result.failed.push_back(
                {display.id, display.name, identity, std::string(kSetByALaterRequest)});
            setLaterNames.push_back(visibleControlCharacters(display.name));
            continue;
        }
        if (const auto& error = *answer++) {
            result.failed.push_back({display.id, display.name, identity, error->description()});
            failedNames.push_back(visibleControlCharacters(display.name));
            continue;
        }
        working.displayAdjustments[identity] = preset.adjustment;
        touched.touch(RecordMerge::PreferencesPart::displayAdjustments, identity, askedAt);
        result.applied.push_back({display.id, display.name, identity});
    }
    // Another writer let in by a lock file taken from under the command
    // may rename its record over the command's once it landed (where no
    // names exchange): the change is laid on that record again, and where
    // that keeps happening the command says why it did not save.
    for (int saving = 1; !result.applied.empty(); ++saving) {
        const auto saved = environment_.preferencesStore->save(working, touched);
        if (saved.keptCopy) {
            reportNotice(toldRecordRecovered_
                             ? UserDefaultsPreferencesStore::keptCopyNamed(*saved.keptCopy)
                             : UserDefaultsPreferencesStore::keptCopyNotice(*saved.keptCopy));
        }
        if (saved.error) {
            return fail(ExitCode::failure, appliedButNotSavedMessage(*saved.error), json);
        }
        const auto lostTo =
            showTheRecordSaved(result, setLaterNames, preset.adjustment, askedAt, recordRequests);
        if (!lostTo)
            break;
        if (saving == DefaultsLock::kTakingsPerSave) {
            const DefaultsStoreError replaced{DefaultsStoreError::Kind::lockFileReplaced,
                                              environment_.preferencesStore->lockFilePath(),
                                              {}};
            return fail(ExitCode::failure, appliedButNotSavedMessage(replaced), json);
        }
        // Read just now, that record is what the next save is made from.
        working = *lostTo;
        for (const auto& display : result.applied)
            working.displayAdjustments[display.identityRawValue] = preset.adjustment;
    }

    const auto status =
        static_cast<std::int32_t>(result.failed.empty() ? ExitCode::success : ExitCode::failure);
    if (json) {
        const auto emitted = emitJSON({1, "apply-safe-preset", result});
        return emitted != 0 ? emitted : status;
    }

    const std::string appliedCount =
        formatDecimal(static_cast<std::uint64_t>(result.applied.size()));
    if (result.failed.empty()) {
        const std::string verb =
            correctionOn ? "applied" : "saved (software color correction off; screen kept neutral)";
        environment_.standardOutput("Safe preset " + verb + ": " +
                                    visibleControlCharacters(preset.name) + " (" + appliedCount +
                                    " display(s))\n");
        return status;
    }
    if (!failedNames.empty())
        environment_.standardError("Some displays failed: " + joined(failedNames, ", ") + "\n");
    if (!setLaterNames.empty()) {
        environment_.standardError(
            "Already set by a later request: " + joined(setLaterNames, ", ") + "\n");
    }
    if (!result.applied.empty()) {
        environment_.standardOutput("Safe preset applied to " + appliedCount + " display(s); " +
                                    notCarriedOutCounts(failedNames.size(), setLaterNames.size()) +
                                    ".\n");
    }
    return status;
}

}  // namespace quorvane
