#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/cli_response.hpp"
#include "models/coding/date_coding.hpp"
#include "models/display/display_snapshot.hpp"
#include "models/presets/display_preset.hpp"
#include "platform/interfaces/touched_record_parts.hpp"

namespace quorvane {

class PreferencesStoring;
class CLIDisplaySnapshotProviding;
class BrightnessControlling;
class GammaControlling;
struct QuorvanePreferences;
struct DisplayControlError;

// The read-mostly command-line mode: lists, reads, previews a settings import
// and applies a safe colour preset, without the display store and without any
// window. Runs synchronously on the calling thread.
class QuorvaneCLI {
  public:
    using Writer = std::function<void(std::string_view)>;

    // What the mode talks to. Tests hand in fakes and capture the writers.
    struct Environment {
        std::shared_ptr<PreferencesStoring> preferencesStore;
        std::shared_ptr<CLIDisplaySnapshotProviding> displayProvider;
        std::shared_ptr<BrightnessControlling> brightnessController;
        std::shared_ptr<GammaControlling> gammaController;
        // Each call writes exactly the given bytes: no line feed is added.
        Writer standardOutput;
        Writer standardError;
        // Why writing to standard output failed (a full disk, a closed
        // stream), asked once the command is done; never fails when empty.
        std::function<std::optional<std::string>()> standardOutputFailure = {};
        // $DISPLAY, named when the X server cannot be reached; none when unset.
        std::optional<std::string> displayVariable = {};
        // The clock a change is asked for by: a saved change names when it
        // was asked, so the application's earlier change held meanwhile
        // does not win over it. The process's own sets the record store's
        // request clock, which no clock setting moves.
        std::function<Date()> requestNow = [] { return std::chrono::system_clock::now(); };

        // The user's real preferences, displays and gamma ramps, and the
        // process's two output streams. Defined with the process entry,
        // which links the platform layer.
        static Environment production();
    };

    // The process exit status of each outcome.
    enum class ExitCode : std::int32_t {
        success = 0,
        usage = 1,
        notFound = 2,
        failure = 3,
    };

    struct Options {
        bool json = false;
        std::optional<std::string> display;
        bool allVisible = false;
        std::optional<std::string> file;

        bool operator==(const Options&) const = default;
    };

    struct ParsedArguments {
        std::vector<std::string> positionals;
        Options options;
        // Unknown options and "requires a value" notes, in argument order.
        std::vector<std::string> unknown;

        bool operator==(const ParsedArguments&) const = default;
    };

    struct PresetResolution {
        enum class Kind { success, ambiguous, missing };
        Kind kind = Kind::missing;
        // The match for success, every match for ambiguous.
        std::vector<DisplayPreset> presets;
    };

    struct DisplayResolution {
        enum class Kind { success, ambiguous, missing };
        Kind kind = Kind::missing;
        std::vector<DisplaySnapshot> displays;
    };

    // Pretty-printed JSON with sorted keys. A number that is not finite has no
    // JSON spelling, so such a document fails instead of coming out as null.
    // C1 and bidirectional controls in strings come out escaped, as in the
    // text output, so the envelope cannot drive or reorder a terminal.
    struct Encoder {
        struct Result {
            std::optional<std::string> text;
            std::string errorDescription;  // set when text is absent
        };
        Result encode(const Json& document) const;
    };

    // The 12-line usage text, without a final line feed.
    static const std::string& usageText();

    // Defined with the process entry, like Environment::production().
    static QuorvaneCLI production();

    explicit QuorvaneCLI(Environment environment);

    // `arguments` are those after "cli". Returns the process exit status:
    // the command's, or 3 when its output could not be written.
    std::int32_t run(const std::vector<std::string>& arguments);

    static ParsedArguments parseOptions(const std::vector<std::string>& arguments);
    static PresetResolution resolvePreset(const std::string& query,
                                          const std::vector<DisplayPreset>& presets);
    static DisplayResolution resolveDisplay(const std::string& selector,
                                            const std::vector<DisplaySnapshot>& displays);

    // Writes the message (text, or an error envelope in JSON mode) to
    // standard error and returns the code's status.
    std::int32_t fail(ExitCode code, std::string_view message, bool json);
    // Writes the response to standard output; 0, or 3 when it cannot be encoded.
    std::int32_t emitJSON(const CLIResponse& response);

    std::int32_t handleList(const std::vector<std::string>& arguments);
    std::int32_t handleRead(const std::vector<std::string>& arguments);
    std::int32_t handlePreview(const std::vector<std::string>& arguments);
    std::int32_t handleApplySafePreset(const std::vector<std::string>& arguments);

    std::int32_t emitPresetList(bool json);
    std::int32_t emitSceneList(bool json);
    std::int32_t emitDisplayList(bool json);
    std::int32_t emitSettingsSummary(bool json);
    std::int32_t emitDiagnosticsSummary(bool json);
    std::int32_t emitImportPlanPreview(const std::string& filePath, bool json);
    // `recordRequests` are those behind the record `preferences` was read
    // from: a display one asked after `askedAt` set is left as it is and
    // counts as not carried out.
    std::int32_t apply(const DisplayPreset& preset, const std::vector<DisplaySnapshot>& targets,
                       const QuorvanePreferences& preferences, bool json, Date askedAt,
                       const TouchedRecordParts& recordRequests = {});

  private:
    // After apply()'s save: a lock file taken away while the command held
    // it let another writer in between its load and its save, whose screen
    // write may have come after the command's. Where the record's requests
    // are no longer `loadedRequests` (those behind the record loaded), each
    // display set gets the record's value on the screen again; one a
    // request asked after `askedAt` set moves from applied to set by a
    // later request, unless the record holds `applied` for it.
    // The record as read, changing nothing, where it lacks `applied` for a
    // display and no stamp names a request for it asked after `askedAt`:
    // another writer, let in by a lock file taken from under the command,
    // renamed its record over the command's, and the change must be laid
    // on it again.
    std::optional<QuorvanePreferences> showTheRecordSaved(CLIResponse::ApplyResult& result,
                                                          std::vector<std::string>& setLaterNames,
                                                          const ColorAdjustment& applied,
                                                          Date askedAt,
                                                          const TouchedRecordParts& loadedRequests);
    // What the command line says when the X server cannot be reached.
    std::string displayServerMessage() const;
    // What it says when the server it was talking to went away mid-command.
    std::string lostDisplayServerMessage() const;
    std::int32_t runCommand(const std::vector<std::string>& arguments);
    // Lines joined by line feeds plus one final line feed, in one write.
    void writeLines(const std::vector<std::string>& lines);
    // The active displays; throws DisplayControlError when the X server
    // cannot be reached.
    std::vector<DisplaySnapshot> activeDisplays(bool includeHardwareBrightness);
    // The active displays, or the status of the unreachable-server error
    // already reported.
    std::variant<std::vector<DisplaySnapshot>, std::int32_t> reachableDisplays(
        bool includeHardwareBrightness, bool json);
    // Reports a server never reached, or a connection that broke, and
    // returns the command's status for it.
    std::int32_t failForDisplayServer(const DisplayControlError& error, bool json);
    // The stored record, its load notice (if any) written to standard error;
    // or, for a record that exists but cannot be read, the status of the
    // error already reported.
    std::variant<QuorvanePreferences, std::int32_t> loadPreferences(bool json);
    // One line on standard error that does not end the command.
    void reportNotice(std::string_view text);

    Environment environment_;
    Encoder encoder_;
    // Whether this run has said the record did not decode: a save that then
    // keeps it aside names the copy without saying so again.
    bool toldRecordRecovered_ = false;
};

}  // namespace quorvane
