#include "app/composition/linux_display_store_factory.hpp"

#include <utility>

#include "ddc_transport/i2c_dev_bus.hpp"
#include "ddc_transport/sysfs_ddc_bus_locator.hpp"
#include "platform/linux/display_manager.hpp"
#include "platform/linux/gamma_controller.hpp"
#include "platform/linux/icc_color_profile_manager.hpp"
#include "platform/linux/randr_ddc_output_describer.hpp"
#include "platform/linux/shared_x_connection.hpp"
#include "platform/linux/statvfs_free_space_meter.hpp"
#include "platform/linux/sysfs_backlight_controller.hpp"
#include "platform/linux/system_boot_clock.hpp"
#include "platform/linux/system_clock.hpp"
#include "platform/linux/system_sleeper.hpp"
#include "platform/linux/x11_global_hot_key_registrar.hpp"
#include "services/ddc/ddc_controller.hpp"
#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"
#include "services/persistence/background_defaults_writer.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/merging_defaults_store.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"

namespace quorvane {

namespace {

// How long a monitor probe may take before the store gives up waiting.
constexpr Duration kDDCProbeTimeout = seconds(8);

DDCTransportEnvironment ddcTransport(std::shared_ptr<SharedXConnection> connection) {
    auto outputs = std::make_shared<RandrDDCOutputDescriber>(std::move(connection));
    auto sleeper = std::make_shared<SystemSleeper>();
    return {
        std::make_shared<SysfsDDCBusLocator>(std::move(outputs)),
        std::make_shared<I2CDevBusOpener>(),
        // The pauses run on the controller's background thread, which may
        // outlive any one owner, so the sleeper travels with the function.
        [sleeper](std::chrono::microseconds pause) { sleeper->sleepFor(pause); },
    };
}

MergingDefaultsStore::Merges recordMerges() {
    return {
        {UserDefaultsPreferencesStore::standardStorageKey(), RecordMerge::preferencesBytes},
        {UserDefaultsRecoveryJournalStore::standardStorageKey(), RecordMerge::recoveryJournalBytes},
        {UserDefaultsDDCCapabilityCacheStore::standardStorageKey(),
         RecordMerge::ddcCapabilityCacheBytes},
    };
}

}  // namespace

std::map<std::string, DisplayStoreRecord> LinuxDisplayStoreFactory::recordFileNames() {
    return {
        {FileDefaultsStore::fileNameForKey(UserDefaultsPreferencesStore::standardStorageKey()),
         DisplayStoreRecord::preferences},
        {FileDefaultsStore::fileNameForKey(UserDefaultsRecoveryJournalStore::standardStorageKey()),
         DisplayStoreRecord::recoveryJournal},
        {FileDefaultsStore::fileNameForKey(
             UserDefaultsDDCCapabilityCacheStore::standardStorageKey()),
         DisplayStoreRecord::ddcCapabilityCache},
    };
}

std::shared_ptr<BackgroundDefaultsWriter> LinuxDisplayStoreFactory::recordWriter(
    const std::filesystem::path& defaultsFolder, std::shared_ptr<Scheduler> retryScheduler,
    std::shared_ptr<const RequestClock> requestClock) {
    auto files = std::make_shared<FileDefaultsStore>(defaultsFolder);
    files->setRequestClock(requestClock ? std::move(requestClock) : systemRequestClock());
    // The writer's thread waits for the lock, never the windows; a save that
    // cannot take it in time is held and retried like any failed one, and
    // the quit ends within the wait, naming what it could not write.
    files->limitLockWait(FileDefaultsStore::kSharedLockWait, std::make_shared<SystemClock>(),
                         std::make_shared<SystemSleeper>());
    return recordWriter(std::move(files), std::move(retryScheduler));
}

std::shared_ptr<BackgroundDefaultsWriter> LinuxDisplayStoreFactory::recordWriter(
    std::shared_ptr<FileDefaultsStore> files, std::shared_ptr<Scheduler> retryScheduler) {
    // A save refused by a full disk lands as soon as the disk has room.
    auto freeSpace = std::make_shared<StatvfsFreeSpaceMeter>(files->folder());
    return std::make_shared<BackgroundDefaultsWriter>(
        std::make_shared<MergingDefaultsStore>(std::move(files), recordMerges()),
        std::move(retryScheduler), std::move(freeSpace));
}

DisplayStoreCollaborators LinuxDisplayStoreFactory::collaborators(const Environment& environment) {
    const auto& displayName = environment.displayName;
    auto& scheduler = *environment.scheduler;
    // A write that failed is tried again later on the store's scheduler.
    // The windows' requests and the writes of the records they make are
    // dated on one line.
    auto requestClock = systemRequestClock();
    auto defaults = recordWriter(environment.defaultsFolder, environment.scheduler, requestClock);
    // One X connection for the display reads, gamma writes, the built-in
    // check and the DDC bus discovery.
    auto connection = std::make_shared<SharedXConnection>(displayName);

    DisplayStoreCollaborators result;
    result.preferencesStore = std::make_shared<UserDefaultsPreferencesStore>(defaults);
    result.ddcCapabilityCacheStore =
        std::make_shared<UserDefaultsDDCCapabilityCacheStore>(defaults);
    result.displayManager = std::make_shared<DisplayManager>(connection);
    result.brightnessController = SysfsBacklightController::forSystem(connection);
    result.gammaController =
        std::make_shared<GammaController>(GammaController::kStandardTableSize, connection);
    result.ddcController = std::make_shared<DDCController>(scheduler, ddcTransport(connection));
    result.globalHotKeyRegistrar =
        std::make_shared<X11GlobalHotKeyRegistrar>(scheduler, connection);
    result.colorProfileManager = std::make_shared<IccColorProfileManager>(
        environment.profileDirectories, defaults, connection);
    result.recoveryJournalStore = std::make_shared<UserDefaultsRecoveryJournalStore>(defaults);
    result.scheduler = environment.scheduler;
    result.requestClock = std::move(requestClock);
    result.ddcProbeTimeout = kDDCProbeTimeout;
    result.deferFullRefreshes = true;
    result.deferredSaves = defaults;
    return result;
}

std::unique_ptr<DisplayStore> LinuxDisplayStoreFactory::make(const Environment& environment) {
    return std::make_unique<DisplayStore>(collaborators(environment));
}

}  // namespace quorvane
