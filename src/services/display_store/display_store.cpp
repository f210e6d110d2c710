#include "services/display_store/display_store.hpp"

#include <utility>

#include "platform/interfaces/defaults_storing.hpp"
#include "services/ddc/ddc_write_queue.hpp"
#include "services/display/display_snapshot_builder.hpp"
#include "services/display/system_display_refresh_collector.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"

namespace quorvane {

namespace {

constexpr std::string_view kReadyStatus = "준비됨";

GlobalHotKeyRegistrationSummary placeholderSummary(int requestedCount) {
    return {requestedCount, 0, {}, false};
}

}  // namespace

DisplayStore::DisplayStore(DisplayStoreCollaborators collaborators)
    : statusMessage_(kReadyStatus),
      scheduler_(std::move(collaborators.scheduler)),
      requestClock_(std::move(collaborators.requestClock)),
      preferencesStore_(std::move(collaborators.preferencesStore)),
      ddcCapabilityCacheStore_(std::move(collaborators.ddcCapabilityCacheStore)),
      displayManager_(std::move(collaborators.displayManager)),
      brightnessController_(std::move(collaborators.brightnessController)),
      gammaController_(std::move(collaborators.gammaController)),
      ddcController_(std::move(collaborators.ddcController)),
      ddcWriteQueue_(std::move(collaborators.ddcWriteQueue)),
      globalHotKeyRegistrar_(std::move(collaborators.globalHotKeyRegistrar)),
      colorProfileManager_(std::move(collaborators.colorProfileManager)),
      displaySnapshotBuilder_(std::move(collaborators.displaySnapshotBuilder)),
      displayRefreshCollector_(std::move(collaborators.displayRefreshCollector)),
      recoveryJournalStore_(std::move(collaborators.recoveryJournalStore)),
      ddcProbeTimeout_(collaborators.ddcProbeTimeout),
      deferFullRefreshes_(collaborators.deferFullRefreshes),
      deferredSaves_(collaborators.deferredSaves),
      self_(std::make_shared<DisplayStore*>(this)) {
    if (!ddcWriteQueue_)
        ddcWriteQueue_ = std::make_shared<DDCWriteQueue>(ddcController_, *scheduler_);
    if (!displaySnapshotBuilder_) {
        displaySnapshotBuilder_ =
            std::make_shared<DisplaySnapshotBuilder>(displayManager_, brightnessController_);
    }
    if (!displayRefreshCollector_) {
        displayRefreshCollector_ = std::make_shared<SystemDisplayRefreshCollector>(
            displayManager_, brightnessController_, colorProfileManager_, *scheduler_);
    }
    if (!recoveryJournalStore_) {
        recoveryJournalStore_ = std::make_shared<UserDefaultsRecoveryJournalStore>(
            std::make_shared<FileDefaultsStore>(FileDefaultsStore::standardLocation()));
    }

    const auto preferencesLoad = preferencesStore_->loadResult();
    const auto cacheLoad = ddcCapabilityCacheStore_->loadResult();
    const auto journalLoad = recoveryJournalStore_->loadResult();
    preferences_ = preferencesLoad.preferences;
    ddcCapabilityCache_ = cacheLoad.cache;
    recoveryJournal_ = journalLoad.journal;
    preferencesBase_ = preferences_;
    preferencesRequestsTakenIn_ = preferencesStore_->lastLoadRequests();
    ddcCapabilityCacheBase_ = ddcCapabilityCache_;
    recoveryJournalBase_ = recoveryJournal_;
    selectedDisplayID_.reset();
    publishSettingsFromPreferences();
    sceneHotKeyRegistrationSummary_ =
        placeholderSummary(static_cast<int>(sceneHotKeyBindings_.size()));
    emergencyRecoveryHotKeyRegistrationSummary_ = placeholderSummary(1);

    // A press reaches the store as a task of its own on the store's thread;
    // a press that arrives after the store is gone does nothing.
    globalHotKeyRegistrar_->setActivationHandler(
        [weak = weakSelf(),
         scheduler = std::weak_ptr<Scheduler>(scheduler_)](const std::string& bindingID) {
            auto liveScheduler = scheduler.lock();
            if (!liveScheduler)
                return;
            liveScheduler->post([weak, bindingID] {
                if (auto self = weak.lock())
                    (*self)->handleGlobalHotKey(bindingID);
            });
        });

    // A save the background writer could not finish is told like one that
    // failed at once, on the store's thread, and so is its write after all.
    if (deferredSaves_) {
        const auto onStoreThread = [weak = weakSelf(),
                                    scheduler = std::weak_ptr<Scheduler>(scheduler_)](
                                       std::function<void(DisplayStore&)> task) {
            if (auto liveScheduler = scheduler.lock()) {
                liveScheduler->post([weak, task = std::move(task)] {
                    if (auto self = weak.lock())
                        task(**self);
                });
            }
        };
        deferredSaves_->setFailureHandler(
            [onStoreThread](const std::string& key, const SaveOutcome& outcome) {
                onStoreThread([key, outcome](DisplayStore& store) {
                    store.reportDeferredSaveFailure(key, outcome);
                });
            });
        deferredSaves_->setWrittenAfterFailureHandler([onStoreThread](const std::string& key) {
            onStoreThread([key](DisplayStore& store) { store.recordWrittenAfterFailure(key); });
        });
        deferredSaves_->setKeptCopyHandler(
            [onStoreThread](const std::string& key, const std::string& copy) {
                onStoreThread(
                    [key, copy](DisplayStore& store) { store.reportDeferredKeptCopy(key, copy); });
            });
    }

    preferencesUnreadable_ = preferencesLoad.recordUnreadable;
    if (preferencesLoad.recordUnreadable && preferencesLoad.message)
        showSaveProblem(*preferencesLoad.message);
    else if (preferencesLoad.message)
        setStatusMessage(*preferencesLoad.message);

    refresh(RefreshIntent::startup);
    reconcileGlobalHotKeys(false);

    if (statusMessage_ == kReadyStatus) {
        if (preferencesLoad.recoveredFromCorruption) {
            setStatusMessage(
                preferencesLoad.message.value_or("저장된 설정을 기본값으로 복구했습니다."));
        } else if (cacheLoad.recoveredFromCorruption) {
            setStatusMessage(
                cacheLoad.message.value_or("저장된 모니터 기능 확인 정보를 새로 시작합니다."));
        }
    }
    // A journal that will not be read back this run is told whatever else
    // the start-up says.
    if (journalLoad.message || journalLoad.recoveredFromCorruption)
        addStartupNotice(journalLoad.message.value_or("최근 변경 기록을 새로 시작합니다."));
    // The start-up's own output step, still to come, adds to these notices.
    if (statusMessage_ != kReadyStatus && fullDisplayRefreshIntent_ == RefreshIntent::startup)
        startupStatus_ = statusMessage_;
}

void DisplayStore::setStartupOutputStatus(RefreshIntent intent, std::string text) {
    if (intent == RefreshIntent::startup && startupStatus_ && statusMessage_ == *startupStatus_) {
        addStartupNotice(text);
        return;
    }
    // A change still waiting for its save stays named: the output step's
    // word comes back once the change is written.
    if (keepsWaitingSaveProblemShown(text))
        return;
    setStatusMessage(std::move(text));
}

void DisplayStore::addStartupNotice(const std::string& notice) {
    if (statusMessage_ == kReadyStatus) {
        setStatusMessage(notice);
        return;
    }
    if (statusMessage_.find(notice) != std::string::npos)
        return;
    // The text shown keeps its own privacy tokens.
    auto tokens = diagnosticStatusMessagePrivacyTokens_;
    const bool redactDDCValues = diagnosticStatusMessageRequiresDDCValueRedaction_;
    setStatusMessage(statusMessage_ + " — " + notice);
    diagnosticStatusMessagePrivacyTokens_ = std::move(tokens);
    diagnosticStatusMessageRequiresDDCValueRedaction_ = redactDDCValues;
}

DisplayStore::~DisplayStore() {
    if (deferredSaves_) {
        deferredSaves_->setFailureHandler(nullptr);
        deferredSaves_->setWrittenAfterFailureHandler(nullptr);
        deferredSaves_->setKeptCopyHandler(nullptr);
    }
    self_.reset();
    if (recordReloadRetryTask_)
        recordReloadRetryTask_->cancel();
    if (fullDisplayRefreshTask_)
        fullDisplayRefreshTask_->cancel();
}

DisplayStore::ObserverID DisplayStore::addChangeObserver(std::function<void()> observer) {
    const ObserverID id = nextObserverID_++;
    observers_.emplace(id, std::move(observer));
    return id;
}

void DisplayStore::removeChangeObserver(ObserverID id) {
    observers_.erase(id);
}

DisplayStore::ObserverID DisplayStore::addHotKeyPressObserver(
    std::function<void(const std::string&)> observer) {
    const ObserverID id = nextObserverID_++;
    hotKeyPressObservers_.emplace(id, std::move(observer));
    return id;
}

void DisplayStore::removeHotKeyPressObserver(ObserverID id) {
    hotKeyPressObservers_.erase(id);
}

void DisplayStore::notifyChange() {
    // An observer may remove itself or others while being told.
    const auto observers = observers_;
    for (const auto& [id, observer] : observers)
        observer();
}

void DisplayStore::setStatusMessage(std::string text) {
    ChangeScope scope(*this);
    actionStatusMessage_ = text;
    if (stickyStatusMessage_)
        text = *stickyStatusMessage_;
    if (text != statusMessage_) {
        diagnosticStatusMessagePrivacyTokens_.clear();
        diagnosticStatusMessageRequiresDDCValueRedaction_ = false;
    }
    statusMessage_ = std::move(text);
}

void DisplayStore::setDiagnosticStatusMessagePrivacyTokens(std::vector<std::string> tokens) {
    diagnosticStatusMessagePrivacyTokens_ = std::move(tokens);
}

void DisplayStore::setDiagnosticStatusMessageRequiresDDCValueRedaction(bool required) {
    diagnosticStatusMessageRequiresDDCValueRedaction_ = required;
}

void DisplayStore::setSelectedDisplayID(std::optional<DisplayID> displayID) {
    ChangeScope scope(*this);
    const bool changed = displayID != selectedDisplayID_;
    selectedDisplayID_ = displayID;
    if (!changed || suppressSelectionPersistence_ || !displayID)
        return;
    const auto selectedIdentity = identity(*displayID);
    if (!selectedIdentity)
        return;
    preferences_.lastSelectedDisplayIdentity = selectedIdentity->rawValue;
    savePreferences();
}

void DisplayStore::publishSettingsFromPreferences() {
    colorAdjustments_ = preferences_.displayAdjustments;
    customPresets_ = preferences_.customPresets;
    customScenes_ = preferences_.customScenes;
    customDisplayGroups_ = preferences_.customDisplayGroups;
    autoApplyEnabled_ = preferences_.autoApplyEnabled;
    urlPresetAutomationEnabled_ = preferences_.urlPresetAutomationEnabled;
    softwareColorCorrectionEnabled_ = preferences_.softwareColorCorrectionEnabled;
    textSize_ = preferences_.textSize;
    appearance_ = preferences_.appearance;
    displayAliasesByKey_ = preferences_.displayAliasesByKey;
    brightnessSyncEnabled_ = preferences_.brightnessSyncEnabled;
    brightnessSyncGroupID_ = preferences_.brightnessSyncGroupID;
    sceneHotKeysEnabled_ = preferences_.sceneHotKeysEnabled;
    sceneHotKeyBindings_ = preferences_.sceneHotKeyBindings;
    emergencyRecoveryHotKeyEnabled_ = preferences_.emergencyRecoveryHotKeyEnabled;
    emergencyRecoveryHotKeyCombination_ = preferences_.emergencyRecoveryHotKeyCombination;
}

QuorvanePreferences DisplayStore::preferencesFromPublishedState() const {
    QuorvanePreferences record = preferences_;
    record.autoApplyEnabled = autoApplyEnabled_;
    record.urlPresetAutomationEnabled = urlPresetAutomationEnabled_;
    record.softwareColorCorrectionEnabled = softwareColorCorrectionEnabled_;
    record.textSize = textSize_;
    record.appearance = appearance_;
    record.displayAliasesByKey = displayAliasesByKey_;
    record.brightnessSyncEnabled = brightnessSyncEnabled_;
    record.brightnessSyncGroupID = brightnessSyncGroupID_;
    record.sceneHotKeysEnabled = sceneHotKeysEnabled_;
    record.sceneHotKeyBindings = sceneHotKeyBindings_;
    record.emergencyRecoveryHotKeyEnabled = emergencyRecoveryHotKeyEnabled_;
    record.emergencyRecoveryHotKeyCombination = emergencyRecoveryHotKeyCombination_;
    record.displayAdjustments = colorAdjustments_;
    record.customPresets = customPresets_;
    record.customScenes = customScenes_;
    record.customDisplayGroups = customDisplayGroups_;
    return record;
}

}  // namespace quorvane
