#include "display_store/store_world.hpp"

#include "models/display/display_identity.hpp"
#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"

namespace quorvane::testing {

void HeldDDCWriteQueue::answerApplied(std::uint16_t current, std::uint16_t maximum) {
    auto [request, completion] = std::move(held.front());
    held.erase(held.begin());
    DDCControlValue readBack{request.key.code, current, maximum};
    completion(DDCWriteResult::answering(request, DDCWriteResultOutcome::applied(readBack)));
}

StoreWorld::StoreWorld() {
    connect({externalDisplay(1, "Studio", 1001)});
}

void StoreWorld::connect(std::vector<DisplaySnapshot> connected) {
    std::set<DisplayID> ids;
    ScreenNames names;
    for (const auto& display : connected) {
        ids.insert(display.id);
        names[display.id] = display.name;
    }
    gamma->setKnownDisplays(ids);
    displayManager->setScreenNames(names);
    displayManager->setDisplays(std::move(connected));
}

void StoreWorld::build(std::shared_ptr<DDCControlling> controller,
                       std::shared_ptr<DDCWriteQueueing> queue) {
    DisplayStoreCollaborators collaborators;
    std::shared_ptr<DefaultsStoring> records = defaults;
    if (writer)
        records = writer;
    collaborators.deferredSaves = writer;
    collaborators.preferencesStore = std::make_shared<UserDefaultsPreferencesStore>(records);
    collaborators.ddcCapabilityCacheStore =
        std::make_shared<UserDefaultsDDCCapabilityCacheStore>(records);
    collaborators.displayManager = displayManager;
    collaborators.brightnessController = brightness;
    collaborators.gammaController = gamma;
    collaborators.ddcController =
        controller ? std::move(controller) : std::make_shared<SilentDDCController>();
    collaborators.ddcWriteQueue = queue ? std::move(queue) : writeQueue;
    collaborators.globalHotKeyRegistrar = registrar;
    collaborators.colorProfileManager = profileManager ? profileManager : profiles;
    collaborators.recoveryJournalStore =
        journalStore ? journalStore : std::make_shared<UserDefaultsRecoveryJournalStore>(records);
    collaborators.scheduler = scheduler;
    collaborators.deferFullRefreshes = deferFullRefreshes;
    collaborators.requestClock = requestClock;
    store = std::make_unique<DisplayStore>(std::move(collaborators));
}

DisplayStore& StoreWorld::start() {
    build();
    scheduler->runUntilIdle();
    return *store;
}

DisplayStore& StoreWorld::startHoldingBackground() {
    scheduler->pauseBackground(true);
    build();
    return *store;
}

void StoreWorld::finishBackground() {
    scheduler->pauseBackground(false);
    scheduler->runUntilIdle();
}

void StoreWorld::storePreferences(const QuorvanePreferences& preferences) {
    UserDefaultsPreferencesStore(defaults).save(preferences);
}

QuorvanePreferences StoreWorld::savedPreferences() const {
    return UserDefaultsPreferencesStore(defaults).loadResult().preferences;
}

QuorvaneRecoveryJournal StoreWorld::savedJournal() const {
    return UserDefaultsRecoveryJournalStore(defaults).loadResult().journal;
}

std::optional<float> StoreWorld::midRed(DisplayID displayID) const {
    const auto tables = gamma->tables(displayID);
    if (!tables)
        return std::nullopt;
    return tables->red[tables->red.size() / 2];
}

std::optional<float> StoreWorld::midRed(const ColorAdjustment& adjustment) const {
    const auto tables = gamma->makeTransferTables(adjustment);
    return tables.red[tables.red.size() / 2];
}

DisplaySnapshot externalDisplay(DisplayID id, std::string name, std::uint32_t serial, double x) {
    DisplaySnapshot display;
    display.id = id;
    display.name = std::move(name);
    display.vendorNumber = 4268;
    display.modelNumber = 41000 + id;
    display.serialNumber = serial;
    display.bounds = {x, 0, 1920, 1080};
    DisplayModeSnapshot mode;
    mode.id = "1920x1080@60";
    mode.width = 1920;
    mode.height = 1080;
    mode.pixelWidth = 1920;
    mode.pixelHeight = 1080;
    mode.refreshRate = 60;
    mode.isCurrent = true;
    display.modes = {mode};
    display.currentMode = mode;
    return display;
}

DisplaySnapshot builtinDisplay(DisplayID id) {
    auto display = externalDisplay(id, "Built-in Display", 0);
    display.isBuiltin = true;
    display.isMain = true;
    return display;
}

std::vector<DisplaySnapshot> identicalTwins(DisplayID first, DisplayID second) {
    auto left = externalDisplay(first, "Twin", 0, 0);
    auto right = externalDisplay(second, "Twin", 0, 1920);
    left.modelNumber = right.modelNumber = 777;
    return {left, right};
}

std::string rawIdentity(const DisplaySnapshot& display) {
    return DisplayIdentity::of(display).rawValue;
}

void HeldDDCController::answerProbe(
    std::uint32_t displayID,
    const std::map<DDCVCPCode, std::pair<std::uint16_t, std::uint16_t>>& values) {
    auto held = probes.begin();
    while (held->first != displayID)
        ++held;
    auto completion = std::move(held->second);
    probes.erase(held);
    DDCSnapshot snapshot;
    snapshot.displayID = displayID;
    snapshot.busCount = 1;
    for (const auto& [code, value] : values)
        snapshot.values[code] = {code, value.first, value.second};
    completion(snapshot);
}

void HeldDDCController::answerWrite(std::uint16_t maximum) {
    auto held = std::move(writes.front());
    writes.erase(writes.begin());
    held.completion(DDCControlResult::success({held.code, held.value, maximum}));
}

DisplayStore& startWithMonitorLink(StoreWorld& world, std::shared_ptr<DDCControlling> controller,
                                   std::shared_ptr<DDCWriteQueueing> queue) {
    world.build(std::move(controller), std::move(queue));
    world.scheduler->runUntilIdle();
    return *world.store;
}

}  // namespace quorvane::testing
