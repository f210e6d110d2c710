#pragma once

#include <atomic>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "models/coding/date_coding.hpp"
#include "models/color/color_adjustment.hpp"
#include "models/color/display_color_profile.hpp"
#include "models/color/display_color_profile_state.hpp"
#include "models/color/quorvane_levels_adjustment.hpp"
#include "models/ddc/ddc_capability_cache.hpp"
#include "models/ddc/ddc_capability_cache_key.hpp"
#include "models/ddc/ddc_capability_entry.hpp"
#include "models/ddc/ddc_snapshot.hpp"
#include "models/ddc/ddc_vcp_code.hpp"
#include "models/ddc/ddc_write_key.hpp"
#include "models/ddc/ddc_write_request.hpp"
#include "models/ddc/ddc_write_result.hpp"
#include "models/ddc/ddc_write_status.hpp"
#include "models/diagnostics/quorvane_diagnostic_environment.hpp"
#include "models/diagnostics/quorvane_diagnostic_privacy_mode.hpp"
#include "models/diagnostics/quorvane_diagnostic_report.hpp"
#include "models/diagnostics/quorvane_display_support_summary.hpp"
#include "models/display/auto_apply_tracker.hpp"
#include "models/display/display_identity.hpp"
#include "models/display/display_identity_descriptor.hpp"
#include "models/display/display_snapshot.hpp"
#include "models/hot_keys/global_hot_key_binding.hpp"
#include "models/hot_keys/global_hot_key_registration_summary.hpp"
#include "models/hot_keys/hot_key_combination.hpp"
#include "models/hot_keys/scene_hot_key_binding.hpp"
#include "models/presets/display_group.hpp"
#include "models/presets/display_preset.hpp"
#include "models/presets/display_scene.hpp"
#include "models/recovery/quorvane_effect_recovery_state.hpp"
#include "models/recovery/quorvane_recent_change_recovery_prompt.hpp"
#include "models/recovery/quorvane_recovery_journal.hpp"
#include "models/recovery/quorvane_temporary_neutral_comparison_token.hpp"
#include "models/settings/quorvane_appearance.hpp"
#include "models/settings/quorvane_preferences.hpp"
#include "models/settings/quorvane_settings_import_display_mapping.hpp"
#include "models/settings/quorvane_settings_import_draft.hpp"
#include "models/settings/quorvane_settings_import_mode.hpp"
#include "models/settings/quorvane_text_size.hpp"
#include "platform/interfaces/brightness_controlling.hpp"
#include "platform/interfaces/color_profile_managing.hpp"
#include "platform/interfaces/ddc_capability_cache_storing.hpp"
#include "platform/interfaces/ddc_controlling.hpp"
#include "platform/interfaces/ddc_write_queueing.hpp"
#include "platform/interfaces/deferred_save_reporting.hpp"
#include "platform/interfaces/display_managing.hpp"
#include "platform/interfaces/display_refresh_collecting.hpp"
#include "platform/interfaces/display_snapshot_building.hpp"
#include "platform/interfaces/gamma_controlling.hpp"
#include "platform/interfaces/global_hot_key_registering.hpp"
#include "platform/interfaces/preferences_storing.hpp"
#include "platform/interfaces/quorvane_recovery_journal_storing.hpp"
#include "platform/interfaces/request_clock.hpp"
#include "platform/interfaces/save_outcome.hpp"
#include "platform/interfaces/scheduler.hpp"
#include "platform/interfaces/touched_record_parts.hpp"
#include "services/automation/quorvane_automation_command.hpp"
#include "services/automation/quorvane_automation_url_coordinator.hpp"
#include "services/automation/quorvane_automation_url_outcome.hpp"
#include "services/ddc/ddc_capability_badge.hpp"
#include "services/diagnostics/quorvane_diagnostic_report_coder.hpp"
#include "services/display_store/display_store_types.hpp"
#include "services/persistence/quorvane_settings_document_coder.hpp"

namespace quorvane {

// Everything the store works through, each by its interface. The three marked
// optional are built by the store over the others when left empty; the
// journal store defaults to the one on the user's standard defaults.
struct DisplayStoreCollaborators {
    std::shared_ptr<PreferencesStoring> preferencesStore;
    std::shared_ptr<DDCCapabilityCacheStoring> ddcCapabilityCacheStore;
    std::shared_ptr<DisplayManaging> displayManager;
    std::shared_ptr<BrightnessControlling> brightnessController;
    std::shared_ptr<GammaControlling> gammaController;
    std::shared_ptr<DDCControlling> ddcController;
    std::shared_ptr<DDCWriteQueueing> ddcWriteQueue;  // optional
    std::shared_ptr<GlobalHotKeyRegistering> globalHotKeyRegistrar;
    std::shared_ptr<ColorProfileManaging> colorProfileManager;
    std::shared_ptr<DisplaySnapshotBuilding> displaySnapshotBuilder;       // optional
    std::shared_ptr<DisplayRefreshCollecting> displayRefreshCollector;     // optional
    std::shared_ptr<QuorvaneRecoveryJournalStoring> recoveryJournalStore;  // optional
    // The store's own thread: hot-key presses, the prompt's dismissal and
    // every background result come back through it.
    std::shared_ptr<Scheduler> scheduler;
    // What requests are dated by, shared with the record store's writes so
    // that a clock step between a request and its save moves neither;
    // optional (the scheduler's wall clock then).
    std::shared_ptr<const RequestClock> requestClock;
    // How long a monitor probe may take before it is abandoned.
    Duration ddcProbeTimeout = seconds(8);
    // Start-up and explicit refreshes publish a quick list at once and read
    // the rest in the background.
    bool deferFullRefreshes = true;
    // Where saves that are written after they returned report a failure
    // (the background writer of the records); optional.
    std::shared_ptr<DeferredSaveReporting> deferredSaves;
};

// The application's one state store and orchestrator. It holds every piece of
// state the windows show and turns their requests, hot-key presses and
// automation URLs into hardware calls, saved settings, journal entries and
// one status line.
//
// Every member runs on the store's thread. Work that leaves it (the
// background full read, the prompt's 8-second dismissal, hot-key presses)
// comes back through the scheduler and checks its generation or id before it
// touches state. Views observe one change notification and re-read.
class DisplayStore {
  public:
    using RefreshIntent = DisplayStoreRefreshIntent;
    using ObserverID = std::uint64_t;

    explicit DisplayStore(DisplayStoreCollaborators collaborators);
    ~DisplayStore();
    DisplayStore(const DisplayStore&) = delete;
    DisplayStore& operator=(const DisplayStore&) = delete;

    // --- Change notification ---------------------------------------------
    // Called after every change of published state.
    ObserverID addChangeObserver(std::function<void()> observer);
    void removeChangeObserver(ObserverID id);
    // Called after a global hot key's press was carried out, from wherever
    // it was pressed, with the binding's id; its result is the status
    // message then.
    ObserverID addHotKeyPressObserver(std::function<void(const std::string&)> observer);
    void removeHotKeyPressObserver(ObserverID id);

    // --- Published state ---------------------------------------------------
    const std::vector<DisplaySnapshot>& displays() const { return displays_; }
    std::optional<DisplayID> selectedDisplayID() const { return selectedDisplayID_; }
    const std::map<std::string, ColorAdjustment>& colorAdjustments() const {
        return colorAdjustments_;
    }
    const std::vector<DisplayPreset>& customPresets() const { return customPresets_; }
    const std::vector<DisplayScene>& customScenes() const { return customScenes_; }
    const std::vector<DisplayGroup>& customDisplayGroups() const { return customDisplayGroups_; }
    bool autoApplyEnabled() const { return autoApplyEnabled_; }
    bool urlPresetAutomationEnabled() const { return urlPresetAutomationEnabled_; }
    bool softwareColorCorrectionEnabled() const { return softwareColorCorrectionEnabled_; }
    QuorvaneTextSize textSize() const { return textSize_; }
    QuorvaneAppearance appearance() const { return appearance_; }
    const std::map<std::string, std::string>& displayAliasesByKey() const {
        return displayAliasesByKey_;
    }
    bool brightnessSyncEnabled() const { return brightnessSyncEnabled_; }
    const std::optional<std::string>& brightnessSyncGroupID() const {
        return brightnessSyncGroupID_;
    }
    bool sceneHotKeysEnabled() const { return sceneHotKeysEnabled_; }
    const std::vector<SceneHotKeyBinding>& sceneHotKeyBindings() const {
        return sceneHotKeyBindings_;
    }
    const GlobalHotKeyRegistrationSummary& sceneHotKeyRegistrationSummary() const {
        return sceneHotKeyRegistrationSummary_;
    }
    bool emergencyRecoveryHotKeyEnabled() const { return emergencyRecoveryHotKeyEnabled_; }
    const HotKeyCombination& emergencyRecoveryHotKeyCombination() const {
        return emergencyRecoveryHotKeyCombination_;
    }
    const GlobalHotKeyRegistrationSummary& emergencyRecoveryHotKeyRegistrationSummary() const {
        return emergencyRecoveryHotKeyRegistrationSummary_;
    }
    const std::map<DisplayID, DisplayColorProfileState>& colorProfileStates() const {
        return colorProfileStates_;
    }
    const std::map<DisplayID, DDCSnapshot>& ddcSnapshots() const { return ddcSnapshots_; }
    const DDCCapabilityCache& ddcCapabilityCache() const { return ddcCapabilityCache_; }
    const std::set<DisplayID>& ddcProbeBusyDisplayIDs() const { return ddcProbeBusyDisplayIDs_; }
    const std::set<DisplayID>& ddcProbeSettlingDisplayIDs() const {
        return ddcProbeSettlingDisplayIDs_;
    }
    const std::map<DDCWriteKey, DDCWriteStatus>& ddcWriteStatuses() const {
        return ddcWriteStatuses_;
    }
    const std::map<std::string, QuorvaneEffectRecoverySnapshot>& recoverySnapshots() const {
        return recoverySnapshots_;
    }
    const std::optional<QuorvaneRecentChangeRecoveryPrompt>& recentChangeRecoveryPrompt() const {
        return recentChangeRecoveryPrompt_;
    }
    const QuorvaneRecoveryJournal& recoveryJournal() const { return recoveryJournal_; }
    // The clock that stamps the store's records (a prompt's creation, a
    // journal entry): what a report's time reads against.
    Date wallNow() const { return scheduler_->wallNow(); }
    // The clock the store's timers run on (a prompt's dismissal): what a
    // countdown reads against.
    MonotonicTime monotonicNow() const { return scheduler_->monotonicNow(); }
    const std::string& statusMessage() const { return statusMessage_; }
    // The preferences record as last saved: what a settings export writes.
    const QuorvanePreferences& preferences() const { return preferences_; }
    const QuorvaneSettingsDocumentCoder& settingsDocumentCoder() const {
        return settingsDocumentCoder_;
    }

    // Windows write these two directly. A different status text drops the
    // privacy tokens of the previous one; a changed selection of a visible
    // display is remembered in the preferences.
    void setStatusMessage(std::string text);
    void setSelectedDisplayID(std::optional<DisplayID> displayID);

    // Redaction marks of the current status text, for diagnostic reports.
    // Set them after the text they belong to.
    const std::vector<std::string>& diagnosticStatusMessagePrivacyTokens() const {
        return diagnosticStatusMessagePrivacyTokens_;
    }
    bool diagnosticStatusMessageRequiresDDCValueRedaction() const {
        return diagnosticStatusMessageRequiresDDCValueRedaction_;
    }
    void setDiagnosticStatusMessagePrivacyTokens(std::vector<std::string> tokens);
    void setDiagnosticStatusMessageRequiresDDCValueRedaction(bool required);
    // Colour-profile names and paths seen since launch, the newest 200.
    const std::vector<std::string>& diagnosticPrivacyTokens() const {
        return diagnosticPrivacyTokens_;
    }

    // --- Display queries -----------------------------------------------------
    std::optional<DisplaySnapshot> selectedDisplay() const;
    // A quick list (read without modes or brightness) is published while the
    // full read runs in the background.
    bool isFullDisplayRefreshPending() const { return fullDisplayRefreshTask_.has_value(); }
    std::optional<DisplayIdentity> identity(DisplayID displayID) const;
    std::optional<QuorvaneEffectRecoverySnapshot> recoverySnapshot(DisplayID displayID) const;
    std::optional<DisplayColorProfileState> colorProfileState(DisplayID displayID) const;
    std::optional<DDCCapabilityEntry> ddcCapabilityEntry(DisplayID displayID) const;
    DDCCapabilityBadge ddcCapabilityBadge(DisplayID displayID) const;
    bool isDDCDisplayWriteBusy(DisplayID displayID) const;
    bool isDDCBusy(DisplayID displayID) const;
    std::optional<QuorvaneDisplaySupportSummary> supportSummary(DisplayID displayID) const;
    std::vector<DisplayIdentityDescriptor> identityDescriptors() const;
    std::optional<DisplayIdentityDescriptor> identityDescriptor(DisplayID displayID) const;
    // The user's alias, else the descriptor's display name, else the
    // snapshot's own name.
    std::string displayLabel(const DisplaySnapshot& display) const;
    std::optional<std::string> sceneIdentityWarning(
        const DisplayScene& scene, std::optional<DisplayID> selectedDisplayID) const;
    void setDisplayAlias(std::string_view alias, DisplayID displayID);

    // --- Refresh -------------------------------------------------------------
    void refresh(RefreshIntent intent);
    // Ends every press-and-hold comparison, restoring the saved colour; true
    // when none is left running.
    bool cancelAllTemporaryNeutralComparisons();

    // --- Preference setters ---------------------------------------------------
    void setAutoApplyEnabled(bool enabled);
    void setURLPresetAutomationEnabled(bool enabled);
    void setSoftwareColorCorrectionEnabled(bool enabled);
    void setTextSize(QuorvaneTextSize size);
    void setAppearance(QuorvaneAppearance appearance);
    void setBrightnessSyncEnabled(bool enabled);
    void setBrightnessSyncGroupID(const std::optional<std::string>& groupID);
    void setSceneHotKeyBindingEnabled(std::string_view bindingID, bool enabled);
    // Each re-registers every global hot key and reports the outcome.
    void setEmergencyRecoveryHotKeyEnabled(bool enabled);
    void setSceneHotKeysEnabled(bool enabled);

    // --- Colour road ----------------------------------------------------------
    ColorAdjustment colorAdjustment(DisplayID displayID) const;
    void updateColorAdjustment(DisplayID displayID,
                               const std::function<void(ColorAdjustment&)>& mutate);

    // --- Presets, scenes, groups ---------------------------------------------
    void applyPreset(const DisplayPreset& preset, DisplayID displayID);
    void saveCustomPreset(std::string_view name, DisplayID displayID);
    // The deletions take their argument by value: callers pass elements of the
    // very list they change.
    void deleteCustomPreset(DisplayPreset preset);
    void applyScene(const DisplayScene& scene, DisplayID displayID);
    void applySceneToVisibleDisplays(const DisplayScene& scene);
    void saveCustomScene(std::string_view name);
    void deleteCustomScene(DisplayScene scene);
    void saveDisplayGroup(std::string_view name);
    void deleteCustomDisplayGroup(DisplayGroup group);

    // --- Monitor controls ------------------------------------------------------
    // Queues one monitor write; false when the display still settles after a
    // probe timeout.
    bool setDDCControl(DDCVCPCode code, std::uint16_t rawValue, DisplayID displayID,
                       DDCWriteRequestKind kind);

    // --- Recovery --------------------------------------------------------------
    // Neutral colour saved and shown on every display, safe brightness where
    // a path exists; true when anything was restored or requested.
    bool recoverDisplaysToSafeState();
    // Dismisses the shown prompt when `id` is absent or names it.
    void clearRecentChangeRecoveryPrompt(const std::optional<std::string>& id);

    // --- Hot keys and automation ----------------------------------------------
    void handleSceneHotKey(std::string_view bindingID);
    // What became of the URL, with the status text it left: carried out,
    // ignored as a copy, refused, or failed on a display.
    QuorvaneAutomationURLOutcome carryOutAutomationURL(std::string_view url);
    // True only when a command ran and reported success.
    bool handleAutomationURL(std::string_view url);

    // --- Pure helpers shared with the windows -----------------------------------
    static GlobalHotKeyRegistrationSummary hotKeyRegistrationSummary(
        const std::vector<GlobalHotKeyBinding>& bindings,
        const GlobalHotKeyRegistrationSummary& combinedSummary,
        const std::set<std::string>& registeredBindingIDs, int disabledCount, bool isEnabled);
    static std::string globalHotKeyStatusMessage(const GlobalHotKeyRegistrationSummary& summary);
    static std::string skippedAmbiguousSceneMessage(int count, const DisplayScene& scene,
                                                    std::string_view suffix);
    // Trimmed, non-empty texts that name a colour profile or its file, for
    // redaction in diagnostic reports.
    static void appendDiagnosticRedactionToken(const std::optional<std::string>& token,
                                               std::vector<std::string>& tokens);
    static void appendDiagnosticRedactionTokens(const DisplayColorProfile& profile,
                                                std::vector<std::string>& tokens);

    // --- Monitor writes and probes ----------------------------------------------
    // A slider's final value, 0...1 of the control's known maximum; monitor
    // brightness never goes below 5 %.
    void setDDCControl(DDCVCPCode code, double normalizedValue, DisplayID displayID);
    // Reads which controls the monitor answers. A probe that outlasts the
    // probe timeout is reported at once, and the display then takes no
    // monitor work until the abandoned probe has returned.
    void probeDDC(DisplayID displayID);

    // --- Built-in brightness and display modes ----------------------------------
    // Sets the system's brightness of one display and, with brightness sync
    // on, the same level on the other displays.
    void setHardwareBrightness(double value, DisplayID displayID);
    void setMode(const DisplayModeSnapshot& mode, DisplayID displayID);

    // --- Colour profiles -----------------------------------------------------------
    // Every change is read back and the status says whether it held.
    void refreshColorProfile(DisplayID displayID);
    void setColorProfile(std::string_view profileID, DisplayID displayID);
    void restoreFactoryColorProfile(DisplayID displayID);
    // The system's own tables on every display; saved values stay.
    void restoreColorSyncSettings();

    // --- Status with privacy tokens ---------------------------------------------
    // The text first, then the names and paths it carries, announced once:
    // no report built in between sees the text without its tokens.
    void setStatusMessageWithPrivacyTokens(std::string text,
                                           std::vector<std::string> privacyTokens);

    // --- Effect suspension and comparisons ------------------------------------
    // Each reports through the status line; an unknown display changes nothing.
    void clearSavedAdjustment(DisplayID displayID);
    void suspendQuorvaneEffect(DisplayID displayID);
    void resumeQuorvaneEffect(DisplayID displayID);
    void enterStockComparison(DisplayID displayID);
    void exitStockComparison(DisplayID displayID);
    // Hold-to-compare: the screen shows neutral colour while any token of the
    // display is held. None when refused. Ends may come in any order, more
    // than once, and after the store has ended every comparison.
    std::optional<QuorvaneTemporaryNeutralComparisonToken> beginTemporaryNeutralComparison(
        DisplayID displayID);
    void endTemporaryNeutralComparison(
        const std::optional<QuorvaneTemporaryNeutralComparisonToken>& token);
    // Whether the comparison this token was handed out for still runs: false
    // once it was ended by its holder or by the store (correction switched
    // off, a change or undo of the display's colour, its effect suspended).
    bool temporaryNeutralComparisonRuns(const QuorvaneTemporaryNeutralComparisonToken& token) const;

    // --- Undo ---------------------------------------------------------------------
    // The display's last colour change, from the recovery section.
    void undoLastSoftwareAdjustment(DisplayID displayID);
    // Every display of the shown prompt; true when at least one display was
    // restored and none failed. A prompt that is no longer shown is refused.
    bool undoRecentChangeRecoveryPrompt(const std::string& id);

    // --- Scenes for groups and colour edits ---------------------------------------
    // The scene's colour values on the group's connected members; never its
    // monitor actions.
    void applyScene(const DisplayScene& scene, const DisplayGroup& group);
    // A levels chip: brightness, contrast and gamma together.
    void updateColorAdjustment(DisplayID displayID,
                               const QuorvaneLevelsAdjustment::QuickOption& option);
    // A slider bound to one field of the adjustment.
    void updateColorAdjustment(DisplayID displayID, double ColorAdjustment::*field, double value);

    // --- Pending saves ------------------------------------------------------------------
    // Writes every save still waiting (failed ones again too) and returns what
    // still could not be written, which the status then tells. For the way out.
    std::vector<UnwrittenSave> flushPendingSaves();
    // The changes held because the preferences record cannot be read, as the
    // flush names them; changes nothing, for a way out that cannot flush.
    std::vector<UnwrittenSave> heldSaves() const;
    // Whether a change may not be saved yet (held, waiting for or in its
    // write, or failed). The one call safe from any thread while the store's
    // own is busy, and it never waits.
    bool mayHoldUnsavedChanges() const;

    // --- Full reset and settings import ---------------------------------------------
    // Both end every comparison first and change nothing when one cannot end;
    // neither touches monitors, the capability cache or the journal.
    void resetAllSettings();
    // Writes no colour: the imported values reach the screens at the next
    // start-up or explicit refresh.
    void confirmSettingsImport(const QuorvaneSettingsImportDraft& draft,
                               QuorvaneSettingsImportMode mode,
                               const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings,
                               bool switchSelectionToMappedDisplay);

    // --- Records changed by another process --------------------------------------------
    // Reads the named records again and publishes what another process
    // changed in them, merged with any change of this store's not yet saved
    // (where both changed a value, the later request wins); later saves
    // start from the result. The screens follow as a restart would show
    // them: every output whose taken-in colour differs from what this store
    // last put on it is written at once, under the auto-apply and correction
    // rules of the start-up. A record that reads as it was (this store's own
    // save) changes nothing; one that cannot be read or decoded now is left
    // for its next change; one removed is the empty record (a reset).
    //
    // Reading and writing the screens happen under the lock every process
    // shares, taken only when free (never waited for): another process
    // holding it is writing the screen and the record, so this store's word
    // comes before that or after it, never between. While the lock is busy,
    // or a save of this store is still being written (the read would see
    // this store's own bytes), the reading is retried shortly; after as long
    // as any process waits for the lock it goes ahead without it.
    void reloadRecordsChangedOnDisk(const std::set<DisplayStoreRecord>& records);

    // --- Diagnostic report ------------------------------------------------------------
    // The store's state at this moment as a report; reads only.
    QuorvaneDiagnosticReport makeDiagnosticReport(const QuorvaneDiagnosticEnvironment& environment,
                                                  Date generatedAt,
                                                  QuorvaneDiagnosticPrivacyMode privacyMode) const;
    const QuorvaneDiagnosticReportCoder& diagnosticReportCoder() const {
        return diagnosticReportCoder_;
    }

  private:
    // Announces the change once, when the outermost public operation that
    // opened a scope returns. A call from another thread is a misuse.
    class ChangeScope {
      public:
        explicit ChangeScope(DisplayStore& store) : store_(store) {
            assert(std::this_thread::get_id() == store_.ownerThread_);
            if (store_.changeDepth_++ == 0)
                store_.requestAskedAt_ = store_.requestNow();
        }
        ~ChangeScope() {
            if (--store_.changeDepth_ != 0)
                return;
            store_.requestAskedAt_.reset();
            store_.stickyStatusMessage_.reset();
            store_.notifyChange();
        }
        ChangeScope(const ChangeScope&) = delete;
        ChangeScope& operator=(const ChangeScope&) = delete;

      private:
        DisplayStore& store_;
    };

    using IdentityDescriptorCache = DisplayStoreIdentityDescriptorCache;
    using TemporaryNeutralComparisonSession = DisplayStoreTemporaryNeutralComparisonSession;

    // Construction and state (display_store.cpp).
    void notifyChange();
    // The preferences record with the published settings written in.
    QuorvanePreferences preferencesFromPublishedState() const;
    // Adds a notice to what the start-up shows rather than replacing it.
    void addStartupNotice(const std::string& notice);
    // A status of the start-up's own output step: added after the start-up
    // notices while they are still shown, so neither hides the other.
    void setStartupOutputStatus(RefreshIntent intent, std::string text);

    // Saves and their problems (display_store_saves.cpp).
    void savePreferences();
    // Marks a part of the preferences as set by the current user action, so
    // the save keeps it over another process's change even when its value
    // equals the one this store last read.
    void touchPreference(std::string_view field, std::string_view entry = {});
    // When the request being carried out was asked for (now, outside one).
    Date requestAskedAt() const;
    // Now on the clock requests are dated by.
    Date requestNow() const;
    // A display's saved colour, set or removed by a user action.
    void setSavedAdjustment(const std::string& identity, const ColorAdjustment& adjustment);
    void removeSavedAdjustment(const std::string& identity);
    // Shows a failed save (or a record kept aside before it was replaced) as
    // the status message; the text stands until the current change ends, so
    // the success text of the action that saved cannot hide it.
    void reportSaveOutcome(const SaveOutcome& outcome);
    // Shows `text` in the status until the current change ends.
    void showSaveProblem(std::string text);
    // The background writer told of a failed write, or of a write that
    // succeeded after one.
    void reportDeferredSaveFailure(const std::string& key, const SaveOutcome& outcome);
    void recordWrittenAfterFailure(const std::string& key);
    void reportDeferredKeptCopy(const std::string& key, const std::string& copy);
    // While a shown save problem's change is still unwritten, keeps the
    // problem shown and makes `laterStatus` the one to come back after it;
    // false when there is no such problem.
    bool keepsWaitingSaveProblemShown(const std::string& laterStatus);
    // Once nothing is left unwritten, a save problem still shown gives way
    // to the status it replaced.
    void clearSaveProblemWhenWritten();
    // A preferences record that could not be read (at start, or at a save)
    // is never written over: each save reads it again instead and, while it
    // still cannot be read, says so and holds the changes. Once it reads, the
    // changes made meanwhile are put on the stored record and saved. True
    // when this save must not write.
    bool preferencesSaveHeld();
    std::weak_ptr<DisplayStore*> weakSelf() const { return self_; }

    // Queries (display_store_queries.cpp).
    std::optional<DisplaySnapshot> display(DisplayID displayID) const;
    // The display; reports it as not found when absent.
    std::optional<DisplaySnapshot> displayReportingMissing(DisplayID displayID);
    // A probe of the display runs or has timed out and not yet ended.
    bool isDDCProbeRunningOrSettling(DisplayID displayID) const;
    void removeStaleSerialLessAliases(const DisplayIdentityDescriptor& descriptor);
    std::vector<DisplaySnapshot> activeDisplays(RefreshIntent intent,
                                                const ScreenNames& screenNames);

    // Refresh (display_store_refresh.cpp).
    void invalidatePendingFullDisplayRefresh();
    void startProgressiveFullRefresh(RefreshIntent intent, const ScreenNames& screenNames);
    void scheduleFullDisplayRefresh(std::int64_t generation, RefreshIntent intent,
                                    const ScreenNames& screenNames);
    void completeFullDisplayRefresh(std::int64_t generation, RefreshIntent intent,
                                    DisplayFullRefreshResult result);
    bool handleNoDisplaysAfterRefresh();
    // The output step of a start-up or explicit refresh: it puts the record
    // on the screens, so it waits for the records to be taken in
    // (takeInRecords()) and runs with them.
    void runPostRefreshOutputHandlingIfNeeded(RefreshIntent intent);
    void writeOutputStep(RefreshIntent intent);

    // Reconciliation (display_store_reconcile.cpp).
    void reconcileDisplayRefreshState(const ColorProfileRefreshUpdate& profileUpdate);
    void reconcileTemporaryNeutralComparisons(const std::set<std::string>& visibleInstanceKeys);
    void syncRecoverySnapshotsForVisibleDisplays();
    void syncColorProfileStatesForVisibleDisplays(RefreshIntent intent);
    void pruneColorProfileStatesForVisibleDisplays();
    void rememberDiagnosticPrivacyTokens(const DisplayColorProfileState& state);
    void restoreSelectionAfterDisplayRefresh();

    // Auto-apply (display_store_auto_apply.cpp).
    void applySavedAdjustmentsIfNeeded(RefreshIntent reason);
    // After a take-in: writes what a restart would show on every output
    // whose colour was taken in or no longer matches what this store last
    // put on it; quiet unless a write fails.
    void showTakenInAdjustments();
    DisabledSoftwareCorrectionResult applyNeutralColorOutputForDisabledCorrection();
    // Writes one adjustment's tables; the error's text on failure.
    std::optional<std::string> writeTransferTables(const ColorAdjustment& adjustment,
                                                   DisplayID displayID);
    // Writes `value` on `shown` and records its signature under `key`;
    // on failure adds "name: error" to `failures` and records nothing.
    bool writeAndRecordSignature(const ColorAdjustment& value, const DisplaySnapshot& shown,
                                 const std::string& key, std::vector<std::string>& failures);

    // Colour road (display_store_color.cpp, display_store_prompt.cpp).
    bool applyColorAdjustment(const ColorAdjustment& adjustment, DisplayID displayID,
                              const std::optional<DisplayIdentity>& identity);
    // Displays of one identity (twins) share one saved colour, and automatic
    // apply leaves them alone, so a colour shown because the identity's saved
    // colour changed, or comes back, goes on every connected display of it,
    // `displayID` first. Stops at the first failed write, reported as above.
    bool applyColorAdjustmentToIdentity(const ColorAdjustment& adjustment, DisplayID displayID,
                                        const DisplayIdentity& identity);
    void publishRecentChangeRecoveryPrompt(const std::vector<DisplaySnapshot>& displays,
                                           std::string_view changeKind,
                                           QuorvaneRecoveryJournalStatus journalStatus,
                                           const std::optional<std::string>& journalDetail);

    // Scenes (display_store_scenes.cpp).
    AutomaticSceneTargetResolution automaticSceneTargets(
        const DisplayScene& scene, const std::vector<DisplaySnapshot>& displays) const;
    void applySceneAdjustments(const std::vector<SceneTarget>& targets, const DisplayScene& scene,
                               int skippedAmbiguousCount);

    // Hot keys (display_store_hot_keys.cpp).
    void reconcileGlobalHotKeys(bool updateStatus);
    void handleGlobalHotKey(const std::string& bindingID);
    // The binding with this ID; reports it as not found when absent.
    SceneHotKeyBinding* sceneHotKeyBindingReportingMissing(std::string_view bindingID);

    // Automation (display_store_automation.cpp, display_store_automation_preset.cpp).
    AutomationCommandExecutionResult executeAutomationCommand(
        const QuorvaneAutomationCommand& command);
    AutomationPresetApplyResult applyAutomationPreset(std::string_view query,
                                                      const QuorvaneAutomationTarget& target);
    // Each sets `text` as the status and returns it with the result.
    AutomationCommandExecutionResult acknowledgeAutomationURL(std::string text);
    AutomationPresetApplyResult refuseAutomationPreset(std::string text);
    AutomationLookupResult<DisplayPreset> resolveAutomationPreset(std::string_view query) const;
    AutomationLookupResult<DisplaySnapshot> resolveAutomationDisplay(
        std::string_view selector) const;
    AutomationPresetApplyResult applyAutomationPreset(const DisplayPreset& preset,
                                                      const std::vector<DisplaySnapshot>& displays);

    // Monitor writes (display_store_ddc_writes.cpp).
    void handleDDCWriteResult(const DDCWriteResult& result);
    bool shouldPublishTerminalWriteResult(const DDCWriteResult& result) const;
    // Publishes a monitor text and marks it as carrying monitor values.
    void setMonitorStatusMessage(std::string text);

    // Effect recovery (display_store_effect_recovery.cpp).
    void recordUndoAndActivate(const DisplayIdentity& identity);
    // For a change of several displays at once: displays of one identity
    // share one saved value and one undo step, so only the first records it
    // (`recorded` holds the identities done); a later one would record the
    // value the change has just stored.
    void recordUndoOnceAndActivate(const DisplayIdentity& identity,
                                   std::set<std::string>& recorded);
    void syncRecoverySnapshot(const DisplayIdentity& identity);
    void dropTemporaryNeutralComparison(const std::string& rawValue);
    bool restoreTemporaryNeutralComparison(const TemporaryNeutralComparisonSession& session);
    bool applyTemporaryColorAdjustment(const ColorAdjustment& adjustment, DisplayID displayID);

    // Prompt and journal (display_store_recent_change.cpp, display_store_journal.cpp).
    void scheduleRecentChangeRecoveryPromptAutoDismiss(const std::string& id);
    void appendRecoveryJournalEntry(QuorvaneRecoveryJournalEntry entry);
    std::vector<QuorvaneRecoveryJournalTarget> recoveryJournalTargets(
        const std::vector<DisplaySnapshot>& displays) const;
    QuorvaneRecoveryJournalEntry makeJournalEntry(
        QuorvaneRecoveryJournalStatus status, std::string actionTitle, std::string summary,
        std::string detail, std::vector<QuorvaneRecoveryJournalTarget> targets) const;

    // Effect suspension and comparisons (display_store_comparisons.cpp).
    // The display's identity; reports the display as not found when absent.
    std::optional<DisplayIdentity> identityReportingMissing(DisplayID displayID);
    // The saved adjustment, neutral when none is saved.
    ColorAdjustment savedAdjustmentOrNeutral(const DisplayIdentity& identity) const;
    // Shows `adjustment` and, once it reached the screen, records `mode` for
    // the display; false (with the failure reported) when the write failed.
    // Back to `active`, every display of the identity shows it.
    bool showWithRecoveryMode(const ColorAdjustment& adjustment, QuorvaneEffectRecoveryMode mode,
                              DisplayID displayID, const DisplayIdentity& identity);

    // Undo (display_store_undo.cpp, display_store_journal.cpp).
    bool restorePreviousSoftwareAdjustment(const DisplaySnapshot& snapshot);
    std::vector<DisplaySnapshot> displaysForRecentChangePrompt(
        const QuorvaneRecentChangeRecoveryPrompt& prompt) const;
    std::vector<QuorvaneRecoveryJournalTarget> recoveryJournalTargets(
        const std::vector<QuorvaneRecentChangeRecoveryTarget>& targets) const;

    // Reset and import (display_store_import.cpp).
    bool replacePreferencesWithoutApplying(const QuorvanePreferences& preferences);
    std::vector<QuorvaneSettingsImportDisplayMapping> settingsImportMappingsWithAliasKeys(
        const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings,
        const QuorvaneSettingsImportDraft& draft) const;
    // Drops every comparison, effect mode, undo value and the prompt.
    void forgetEffectRecoveryState();
    // Publishes every setting the preferences record holds (display_store.cpp:
    // construction publishes the loaded record the same way).
    void publishSettingsFromPreferences();

    // Records changed by another process (display_store_record_reload.cpp).
    // Takes in the records awaiting it, then runs the output step awaiting
    // them and brings the screens to what was taken in, all under the
    // shared lock (see reloadRecordsChangedOnDisk()); or tries again shortly.
    void takeInRecords();
    bool takeInAwaited() const;
    // Whether the shared lock has been found busy for as long as any
    // process waits for it.
    bool sharedLockWaitIsOver();
    bool reloadPreferencesFromDisk();
    // Notes which saved colours and output switches differ between the two
    // records, for the screens to follow.
    void noteAdjustmentsTakenIn(const QuorvanePreferences& before,
                                const QuorvanePreferences& after);
    void endComparisonsOfAdjustmentsTakenIn();
    // Notes the displays whose colour the requests behind `requested` (the
    // record just read) set since the record was last taken in.
    void noteAdjustmentsRequestedElsewhere(const TouchedRecordParts& requested);
    // Before a request is decided: takes in at once what another process
    // saved to the preferences record, without waiting for the folder's
    // word.
    void takeInPreferencesSavedElsewhere();
    bool reloadRecoveryJournalFromDisk();
    bool reloadDDCCapabilityCacheFromDisk();

    // Diagnostic report (display_store_report.cpp).
    std::vector<std::string> diagnosticRedactionTokens() const;

    // --- Published state (in declaration order) ---
    std::vector<DisplaySnapshot> displays_;
    std::optional<DisplayID> selectedDisplayID_;
    std::map<std::string, ColorAdjustment> colorAdjustments_;
    std::vector<DisplayPreset> customPresets_;
    std::vector<DisplayScene> customScenes_;
    std::vector<DisplayGroup> customDisplayGroups_;
    bool autoApplyEnabled_ = true;
    bool urlPresetAutomationEnabled_ = false;
    bool softwareColorCorrectionEnabled_ = true;
    QuorvaneTextSize textSize_ = QuorvaneTextSize::large;
    QuorvaneAppearance appearance_ = QuorvaneAppearance::system;
    std::map<std::string, std::string> displayAliasesByKey_;
    bool brightnessSyncEnabled_ = false;
    std::optional<std::string> brightnessSyncGroupID_;
    bool sceneHotKeysEnabled_ = false;
    std::vector<SceneHotKeyBinding> sceneHotKeyBindings_;
    GlobalHotKeyRegistrationSummary sceneHotKeyRegistrationSummary_;
    bool emergencyRecoveryHotKeyEnabled_ = true;
    HotKeyCombination emergencyRecoveryHotKeyCombination_;
    GlobalHotKeyRegistrationSummary emergencyRecoveryHotKeyRegistrationSummary_;
    std::map<DisplayID, DisplayColorProfileState> colorProfileStates_;
    std::map<DisplayID, DDCSnapshot> ddcSnapshots_;
    DDCCapabilityCache ddcCapabilityCache_;
    std::set<DisplayID> ddcProbeBusyDisplayIDs_;
    std::set<DisplayID> ddcProbeSettlingDisplayIDs_;
    std::map<DDCWriteKey, DDCWriteStatus> ddcWriteStatuses_;
    std::map<std::string, QuorvaneEffectRecoverySnapshot> recoverySnapshots_;
    std::optional<QuorvaneRecentChangeRecoveryPrompt> recentChangeRecoveryPrompt_;
    QuorvaneRecoveryJournal recoveryJournal_;
    std::string statusMessage_;

    // --- Private state ---
    QuorvanePreferences preferences_;
    // Each record as this store last read or saved it: what a reload tells
    // another process's changes from this store's own by.
    QuorvanePreferences preferencesBase_;
    QuorvaneRecoveryJournal recoveryJournalBase_;
    DDCCapabilityCache ddcCapabilityCacheBase_;
    // Records to read again once the writer has written this store's saves.
    std::set<DisplayStoreRecord> recordsAwaitingReload_;
    std::optional<TaskHandle> recordReloadRetryTask_;
    // A refresh's output step waiting for the records to be taken in.
    std::optional<RefreshIntent> outputStepAwaitingRecords_;
    // Since when a take-in has found the shared lock busy.
    std::optional<MonotonicTime> sharedLockBusySince_;
    // Identities whose saved colour a take-in changed, and whether it
    // changed the correction or auto-apply switch: the screens are brought
    // to them under the shared lock.
    std::set<std::string> adjustmentsTakenIn_;
    bool outputSwitchesTakenIn_ = false;
    // The requests behind the preferences record as last taken in, and the
    // identities whose colour another process's request set since: it
    // wrote their screens as it saved, perhaps over a later change of this
    // store's that the record keeps, so the take-in writes them again.
    TouchedRecordParts preferencesRequestsTakenIn_;
    std::set<std::string> adjustmentsWrittenElsewhere_;
    // When the request being carried out was asked for: the time of the
    // parts it touches. Set while a change scope is open.
    std::optional<Date> requestAskedAt_;
    // First, so that collaborators holding it by reference never outlive it.
    std::shared_ptr<Scheduler> scheduler_;
    std::shared_ptr<const RequestClock> requestClock_;
    std::shared_ptr<PreferencesStoring> preferencesStore_;
    std::shared_ptr<DDCCapabilityCacheStoring> ddcCapabilityCacheStore_;
    std::shared_ptr<DisplayManaging> displayManager_;
    std::shared_ptr<BrightnessControlling> brightnessController_;
    std::shared_ptr<GammaControlling> gammaController_;
    std::shared_ptr<DDCControlling> ddcController_;
    std::shared_ptr<DDCWriteQueueing> ddcWriteQueue_;
    std::shared_ptr<GlobalHotKeyRegistering> globalHotKeyRegistrar_;
    std::shared_ptr<ColorProfileManaging> colorProfileManager_;
    std::shared_ptr<DisplaySnapshotBuilding> displaySnapshotBuilder_;
    std::shared_ptr<DisplayRefreshCollecting> displayRefreshCollector_;
    std::shared_ptr<QuorvaneRecoveryJournalStoring> recoveryJournalStore_;
    Duration ddcProbeTimeout_ = seconds(8);
    bool deferFullRefreshes_ = true;
    QuorvaneSettingsDocumentCoder settingsDocumentCoder_;
    QuorvaneDiagnosticReportCoder diagnosticReportCoder_;
    AutoApplyTracker autoApplyTracker_;
    QuorvaneEffectRecoveryState effectRecoveryState_;
    bool suppressSelectionPersistence_ = false;
    std::map<std::string, std::string> temporaryNeutralComparisonTokens_;
    std::map<std::string, TemporaryNeutralComparisonSession> temporaryNeutralComparisonSessions_;
    std::set<DDCCapabilityCacheKey> currentSessionDDCProbeKeys_;
    QuorvaneAutomationURLCoordinator automationURLCoordinator_;
    std::optional<TaskHandle> recentChangeRecoveryPromptAutoDismissTask_;
    std::optional<TaskHandle> fullDisplayRefreshTask_;
    // The intent whose output step the pending full refresh still owes.
    std::optional<RefreshIntent> fullDisplayRefreshIntent_;
    std::int64_t displayRefreshGeneration_ = 0;
    std::map<DisplayID, std::string> ddcProbeRequestIDs_;
    std::map<DisplayID, std::string> ddcProbeSettlingRequestIDs_;
    mutable std::optional<IdentityDescriptorCache> identityDescriptorCache_;
    std::vector<std::string> diagnosticPrivacyTokens_;
    std::vector<std::string> diagnosticStatusMessagePrivacyTokens_;
    bool diagnosticStatusMessageRequiresDDCValueRedaction_ = false;

    std::map<ObserverID, std::function<void()>> observers_;
    std::map<ObserverID, std::function<void(const std::string&)>> hotKeyPressObservers_;
    ObserverID nextObserverID_ = 1;
    int changeDepth_ = 0;
    // Set by reportSaveOutcome(), cleared when the outermost change ends.
    std::optional<std::string> stickyStatusMessage_;
    // The text the current action asked for, even when a save problem is
    // shown in its place: the action's journal entry and privacy tokens
    // belong to it.
    std::string actionStatusMessage_;
    // The preferences record exists but could not be read: it is not saved
    // over until it reads, or the user resets every setting.
    bool preferencesUnreadable_ = false;
    // Changes made while the record could not be read, not yet saved.
    // Atomic for mayHoldUnsavedChanges(), asked from another thread.
    std::atomic<bool> preferencesChangesHeld_{false};
    // What user actions set in the preferences since the last save.
    TouchedRecordParts preferencesTouched_;
    // A save problem on show, with the status it replaced (and that status's
    // privacy tokens), and the records whose failed write the writer told
    // and has not yet written.
    struct ShownSaveProblem {
        std::string text;
        std::string replacedStatus;
        std::vector<std::string> replacedPrivacyTokens;
        bool replacedRequiresDDCValueRedaction = false;
    };
    std::optional<ShownSaveProblem> shownSaveProblem_;
    std::set<std::string> unwrittenRecordKeys_;
    // The start-up status with its notices, while the start-up's own output
    // step is still to come.
    std::optional<std::string> startupStatus_;
    std::thread::id ownerThread_ = std::this_thread::get_id();
    std::shared_ptr<DeferredSaveReporting> deferredSaves_;
    // Callbacks hold this weakly, so work that returns after the store is
    // gone does nothing.
    std::shared_ptr<DisplayStore*> self_;

    // --- Monitor probes (display_store_probe.cpp) ---
    // A probe in flight, and what racing it against the timeout gave.
    struct DDCProbeTask;
    struct DDCProbeOutcome;
    static void probeDDCWithTimeout(DisplayID displayID,
                                    const std::shared_ptr<DDCControlling>& controller,
                                    Scheduler& scheduler, Duration timeout,
                                    std::function<void(DDCProbeOutcome)> completion);
    void beginDDCProbeSettling(DisplayID displayID, const std::string& requestID,
                               const std::shared_ptr<DDCProbeTask>& probeTask);
    void finishDDCProbeSettling(DisplayID displayID, const std::string& requestID);
    void completeDDCProbe(const DDCSnapshot& snapshot, const DisplaySnapshot& display,
                          const std::string& requestID);
    void saveDDCCapabilityCache();

    // --- Brightness sync (display_store_brightness.cpp) ---
    struct BrightnessSyncSummary;
    // `displays` is the list the targets and their paths are decided from;
    // `listCarriesBrightness` says whether it was read with hardware brightness.
    void syncBrightnessFromUserSource(DisplayID displayID, double normalizedValue,
                                      const std::vector<DisplaySnapshot>& displays,
                                      bool listCarriesBrightness);
    bool publishedListCarriesBrightness() const;
    bool takesSystemBrightness(const DisplaySnapshot& target, bool listCarriesBrightness) const;
    std::optional<std::vector<DisplaySnapshot>> brightnessSyncTargetDisplays(
        DisplayID displayID, const std::vector<DisplaySnapshot>& displays);
    std::optional<std::uint16_t> eligibleDDCBrightnessMaximum(const DisplaySnapshot& display) const;
    void publishBrightnessSyncSummary(const BrightnessSyncSummary& summary);

    // --- Colour profiles (display_store_color_profiles.cpp) ---
    // Reads and stores one display's state; false when the read failed.
    bool syncColorProfileState(const DisplaySnapshot& display);
    // A status text that names profiles: their names and paths become
    // redaction tokens of the text, attached after it.
    void setStatusMessage(std::string text,
                          const std::vector<DisplayColorProfile>& privacyProfiles);
};

}  // namespace quorvane
